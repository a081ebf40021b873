// The built page in a headless browser at 1920x1080, used as a person would:
// it loads cleanly, its start screen previews the march, Start shows a
// moving picture with music, a key ends the saver, and the settings sheet keeps what OK saves and drops what Cancel
// leaves. Every control of the sheet works with the real mouse and the
// sheet with the keyboard alone, and the accessibility checker finds no
// serious fault on any screen; reduced motion stills the preview, mute
// silences the music, and damaged files are refused. page_test.sh starts the
// server and runs this.
//   node page_test.mjs URL WORK    (WORK: a private folder for the browser)
import { writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { join } from "node:path";
import { setTimeout as sleep } from "node:timers/promises";

import { check, listenForMusic, pass, waitFor, waitForState, withBrowser } from "./checks.mjs";

const [url, work] = process.argv.slice(2);
const SPEED = "#control-2-1002";
const AXE = createRequire(new URL("../../tools/web/package.json", import.meta.url)).resolve("axe-core/axe.min.js");
const SETTINGS_KEY = "Tevrin/Dovezi.reg";
const consoleErrors = [];

function checkConsole(when) {
    check(consoleErrors.length === 0, `no console errors ${when}`, consoleErrors.join(" | "));
}

// Two readbacks of a canvas (the saver's, or the preview's) half a second apart: the pixel count,
// how many pixels the commonest colour of the first covers, and how many
// pixels changed between the two.
function readPictures(page, canvas) {
    return page.evaluate(async (id) => {
        const screen = document.getElementById(id);
        const copy = document.createElement("canvas");
        copy.width = screen.width;
        copy.height = screen.height;
        const context = copy.getContext("2d", { willReadFrequently: true });
        const read = () => {
            context.drawImage(screen, 0, 0);
            return new Uint32Array(context.getImageData(0, 0, copy.width, copy.height).data.buffer);
        };
        const first = read();
        await new Promise((resolve) => setTimeout(resolve, 500));
        const second = read();
        const counts = new Map();
        let commonest = 0;
        let changed = 0;
        for (let i = 0; i < first.length; i++) {
            const count = (counts.get(first[i]) ?? 0) + 1;
            counts.set(first[i], count);
            commonest = Math.max(commonest, count);
            changed += first[i] !== second[i] ? 1 : 0;
        }
        return { width: copy.width, height: copy.height, pixels: first.length, commonest, changed };
    }, canvas);
}

// The canvas shows a picture, not one flat colour, with units moving on it.
async function checkMarch(page, canvas, where) {
    const pictures = await readPictures(page, canvas);
    const flat = pictures.commonest / pictures.pixels;
    const changed = pictures.changed / pictures.pixels;
    console.log(`${where} ${pictures.width}x${pictures.height}: commonest colour on ${(100 * flat).toFixed(2)} %,`
        + ` ${(100 * changed).toFixed(3)} % of pixels changed in 0.5 s`);
    check(pictures.pixels > 0 && flat < 0.99, `${where} shows a picture, not one flat colour`,
        `commonest colour on ${(100 * flat).toFixed(2)} % of ${pictures.pixels} pixels`);
    check(changed >= 0.0001 && changed <= 0.3, `units move over a still background in ${where}`,
        `${(100 * changed).toFixed(3)} % of pixels changed`);
}

// With reduced motion the preview shows a still picture of the march.
async function checkStillPreview(page) {
    await page.emulateMediaFeatures([{ name: "prefers-reduced-motion", value: "reduce" }]);
    await page.reload({ waitUntil: "load" });
    await waitForState(page, "idle", 15000);
    await sleep(1500);
    const pictures = await readPictures(page, "preview");
    check(pictures.changed === 0 && pictures.commonest / pictures.pixels < 0.99,
        "with reduced motion the preview is a still picture", `${pictures.changed} pixels changed`);
    await page.emulateMediaFeatures([]);
    await page.reload({ waitUntil: "load" });
    await waitForState(page, "idle", 15000);
}

async function runSaver(page) {
    const startedAt = await page.evaluate(() => performance.now());
    await page.click("#start");
    const music = listenForMusic(page, startedAt + 5000, 0.001);
    // Its failure is reported where it is awaited, not as an unhandled one.
    music.catch(() => {});
    await waitForState(page, "saver", 3000);
    await sleep(1500);
    await checkMarch(page, "screen", "the saver");
    const loudest = await music;
    check(loudest > 0.001, "the synthesizer plays within 5 s of the start", `loudest level ${loudest}`);
    console.log(`frame cost at 1920x1080: ${JSON.stringify(await page.evaluate(() => window.dovezi.frameCost()))}`);
    await page.keyboard.press("Space");
    const silentAfter = await page.evaluate(async () => {
        const ended = performance.now();
        while (window.DoveziMusic.level() >= 1e-4 && performance.now() - ended < 2000) {
            await new Promise((resolve) => setTimeout(resolve, 10));
        }
        return performance.now() - ended;
    });
    check(silentAfter < 300, "the music ends with the saver", `heard ${Math.round(silentAfter)} ms after the key`);
    await waitForState(page, "idle", 3000);
    await waitFor("#start is not visible again", page.waitForSelector("#start", { visible: true, timeout: 1000 }));
    pass("a key press ends the saver");
}

// Hidden between runs, the page gives its sound output back; shown again,
// the next run plays.
async function checkHiddenBetweenRuns(page) {
    const session = await page.createCDPSession();
    const { windowId } = await session.send("Browser.getWindowForTarget");
    const show = (windowState) => session.send("Browser.setWindowBounds", { windowId, bounds: { windowState } });
    await show("minimized");
    await waitFor("the hidden page keeps its sound output", page.waitForFunction(
        () => document.hidden && !window.DoveziMusic.isLoaded(), { timeout: 3000, polling: 50 }));
    await show("normal");
    await page.waitForFunction(() => !document.hidden, { timeout: 3000 });
    const startedAt = await page.evaluate(() => performance.now());
    await page.click("#start");
    await waitForState(page, "saver", 3000);
    const loudest = await listenForMusic(page, startedAt + 5000, 0.001);
    check(loudest > 0.001, "the run after the page was hidden plays", `loudest level ${loudest}`);
    await page.keyboard.press("Space");
    await waitForState(page, "idle", 3000);
    pass("hidden between runs, the page gives its sound output back");
}

// Mute, pressed with the mouse, silences the next run and is kept over a
// reload; pressed again, the music is back.
async function checkMute(page) {
    await page.click("#mute");
    await page.reload({ waitUntil: "load" });
    await waitForState(page, "idle", 15000);
    check(await page.$eval("#mute", (mute) => mute.getAttribute("aria-pressed")) === "true", "mute is kept over a reload",
        "not pressed");
    const startedAt = await page.evaluate(() => performance.now());
    await page.click("#start");
    await waitForState(page, "saver", 3000);
    const loudest = await listenForMusic(page, startedAt + 4000, 0);
    check(loudest === 0, "mute silences the music", `level ${loudest}`);
    await page.keyboard.press("Space");
    await waitForState(page, "idle", 3000);
    await page.click("#mute");
}

// Picks `file` in the file picker that `opening` opens.
async function pickFile(page, opening, file) {
    const [chooser] = await Promise.all([page.waitForFileChooser({ timeout: 3000 }), opening()]);
    await chooser.accept([file]);
}

// A damaged picture and a damaged MIDI file are each refused with a
// message beside their control, and nothing changes.
async function checkRefusals(page) {
    const picture = join(work, "damaged.png");
    const song = join(work, "damaged.mid");
    writeFileSync(picture, Buffer.from("\x89PNG\r\n\x1a\nnot really a picture"));
    writeFileSync(song, Buffer.from("MThd\0\0\0\x06\0\x01\0\x09\0\x60MTrk\xff\xff\xff\xff"));
    await pickFile(page, () => page.click("#picture-pick"), picture);
    await waitFor("no message beside the picture buttons", page.waitForFunction(
        () => /not a picture/.test(document.getElementById("picture-message").textContent), { timeout: 3000 }));
    check(await page.$eval("#picture-name", (name) => name.textContent) === "generated",
        "a damaged picture is refused with a message, and the desktop stays", "the desktop changed");
    const before = await storedSettings(page);
    await page.click("#settings");
    await waitFor("no settings sheet", page.waitForSelector("#sheet", { visible: true, timeout: 3000 }));
    await page.select("#control-0-1007", await page.$eval("#control-0-1007", (list) => list.options[1].value));
    const chosen = await storedSettings(page);
    await pickFile(page, () => page.click("#control-0-1008"), song);
    await waitFor("no message beside Browse", page.waitForFunction(
        () => /not a MIDI file/.test(document.querySelector("#sheet-page-0 .control-message")?.textContent), { timeout: 3000 }));
    check(await storedSettings(page) === chosen, "a damaged MIDI file is refused with a message, and no setting changes",
        await storedSettings(page));
    await closeSheet(page, "#sheet-cancel");
    const changed = changedValues(before, await storedSettings(page));
    check(changed.length === 0, "Cancel after the refusal leaves the settings as they were", JSON.stringify(changed));
}

async function openAnimationPage(page) {
    await page.click("#settings");
    await waitFor("no settings sheet", page.waitForSelector("#sheet", { visible: true, timeout: 3000 }));
    await page.click("#sheet-tab-2");
    return waitFor("no speed slider", page.waitForSelector(SPEED, { visible: true, timeout: 3000 }));
}

async function closeSheet(page, button) {
    await page.click(button);
    await waitFor("the sheet stays open", page.waitForSelector("#sheet", { hidden: true, timeout: 3000 }));
    await waitForState(page, "idle", 3000);
}

async function readSpeed(page) {
    const slider = await openAnimationPage(page);
    const value = await slider.evaluate((input) => input.value);
    await closeSheet(page, "#sheet-cancel");
    return value;
}

// The values of settings text `before` that `after` holds otherwise (the
// sheet may also write values it only showed, as they were).
function changedValues(before, after) {
    const values = (text) => new Map([...text.matchAll(/^("[^"]+")=(.*)$/gm)].map((line) => [line[1], line[2]]));
    const now = values(after);
    return [...values(before)].filter(([key, value]) => now.get(key) !== value);
}

function storedSettings(page) {
    return page.evaluate((key) => window.localStorage.getItem(key) ?? "", SETTINGS_KEY);
}

async function centreOf(handle, what) {
    const box = await handle.boundingBox();
    if (!box) {
        throw new Error(`${what} is not shown`);
    }
    return { x: box.x + box.width / 2, y: box.y + box.height / 2, box };
}

// Drags the slider's thumb with the mouse to a quarter or three quarters of
// its track, whichever is farther; answers the value it then shows.
async function dragSlider(page, slider) {
    const { box } = await centreOf(slider, "a slider");
    const share = await slider.evaluate((input) => (input.value - input.min) / Math.max(1, input.max - input.min));
    const y = box.y + box.height / 2;
    const thumb = box.x + 8 + share * (box.width - 16);
    const target = box.x + 8 + (share < 0.5 ? 0.75 : 0.25) * (box.width - 16);
    await page.mouse.move(thumb, y);
    await page.mouse.down();
    await page.mouse.move(target, y, { steps: 8 });
    await page.mouse.up();
    return slider.evaluate((input) => input.value);
}

async function checkSettings(page) {
    const original = await readSpeed(page);
    let slider = await openAnimationPage(page);
    const kept = await dragSlider(page, slider);
    await closeSheet(page, "#sheet-ok");
    await page.reload({ waitUntil: "load" });
    await waitForState(page, "idle", 15000);
    const reloaded = await readSpeed(page);
    check(reloaded === kept, "the speed OK saved survives a reload", `set ${kept} over ${original}, read ${reloaded}`);
    slider = await openAnimationPage(page);
    const dropped = await dragSlider(page, slider);
    await closeSheet(page, "#sheet-cancel");
    const afterCancel = await readSpeed(page);
    check(afterCancel === kept, "Cancel restores the speed", `OK'd ${kept}, cancelled ${dropped}, read ${afterCancel}`);
}

// The control at a point is the one meant there, not a frame or a text
// lying over it.
async function checkHit(page, handle, what) {
    const { x, y } = await centreOf(handle, what);
    const hit = await handle.evaluate((control, at) => control.contains(document.elementFromPoint(at.x, at.y)), { x, y });
    check(hit, `${what} takes the mouse at its centre`, `another element at ${x}, ${y}`);
    return { x, y };
}

// One control operated with the mouse; the settings text must change.
async function operate(page, control, what) {
    const kind = await control.evaluate((element) => element.type || element.tagName.toLowerCase());
    const before = await storedSettings(page);
    if (kind === "range") {
        await checkHit(page, control, what);
        await dragSlider(page, control);
    } else if (kind === "select-one") {
        const { x, y } = await checkHit(page, control, what);
        const [chosen, entries] = await control.evaluate((list) => [list.selectedIndex, list.options.length]);
        // A list of one entry has nothing to change to.
        if (entries < 2) {
            return true;
        }
        // The last entry, or the first when the last is chosen: the
        // background's last style is the one that uses its slider.
        await page.mouse.click(x, y);
        await sleep(200);
        await page.keyboard.press(chosen === entries - 1 ? "Home" : "End");
        await page.keyboard.press("Enter");
    } else if (kind === "checkbox") {
        // Clicked twice, so that the controls it governs stay usable.
        const { x, y } = await checkHit(page, control, what);
        await page.mouse.click(x, y);
        check(await storedSettings(page) !== before, `${what} changes the stored settings when clicked`, "no change");
        await page.mouse.click(x, y);
        return true;
    } else {
        return false;
    }
    const after = await storedSettings(page);
    check(after !== before, `${what} changes the stored settings when the mouse moves it`, "no change");
    return true;
}

// Every control of every page, with real mouse events: the tabs, the lists,
// sliders and check boxes (each changes what is stored), Browse (opens the
// file picker), Preview (starts the saver), and Cancel (puts all back).
async function checkMouse(page) {
    const original = await storedSettings(page);
    await page.click("#settings");
    await waitFor("no settings sheet", page.waitForSelector("#sheet", { visible: true, timeout: 3000 }));
    const tabs = await page.$$("[role=tab]");
    for (let tab = 0; tab < tabs.length; tab++) {
        const { x, y } = await checkHit(page, tabs[tab], `tab ${tab}`);
        await page.mouse.click(x, y);
        await waitFor(`tab ${tab} shows no page`, page.waitForSelector(`#sheet-page-${tab}`, { visible: true, timeout: 2000 }));
        // Each in template order, once the ones before it have enabled it.
        for (const control of await page.$$(`#sheet-page-${tab} input, #sheet-page-${tab} select`)) {
            const [name, disabled] = await control.evaluate((element) => [element.id, element.disabled]);
            check(!disabled, `${name} on page ${tab} can be used`, "disabled");
            await operate(page, control, `${name} on page ${tab}`);
        }
    }
    await page.click("#sheet-tab-0");
    const [chooser] = await Promise.all([page.waitForFileChooser({ timeout: 3000 }),
        page.mouse.click(...Object.values(await checkHit(page, await page.$("#control-0-1008"), "Browse")))]);
    await chooser.cancel();
    pass("Browse opens the file picker");
    const preview = await checkHit(page, await page.$("#sheet-preview"), "Preview");
    await page.mouse.click(preview.x, preview.y);
    await waitForState(page, "saver", 3000);
    await sleep(500);
    await page.keyboard.press("Space");
    await waitForState(page, "sheet", 3000);
    pass("Preview starts the saver, and the sheet comes back after it");
    const cancel = await checkHit(page, await page.$("#sheet-cancel"), "Cancel");
    await page.mouse.click(cancel.x, cancel.y);
    await waitForState(page, "idle", 3000);
    const changed = changedValues(original, await storedSettings(page));
    check(changed.length === 0, "Cancel puts back every value the mouse changed", JSON.stringify(changed));
}

function focused(page) {
    return page.evaluate(() => document.activeElement && (document.activeElement.id || document.activeElement.tagName));
}

// The sheet with the keyboard alone: into it from Settings, Tab stays in
// it, the arrow keys move between tabs, Enter is OK, Escape Cancel, Alt+P
// Preview, and the focus comes back to what opened the sheet or the saver.
async function checkKeyboard(page) {
    await page.focus("#settings");
    await page.keyboard.press("Enter");
    await waitFor("no settings sheet", page.waitForSelector("#sheet", { visible: true, timeout: 3000 }));
    await sleep(100);
    check(await focused(page) === "sheet-tab-0", "the focus moves into the sheet, to its tab", await focused(page));
    const outside = [];
    for (let step = 0; step < 12; step++) {
        await page.keyboard.press("Tab");
        if (!await page.evaluate(() => document.getElementById("sheet").contains(document.activeElement))) {
            outside.push(`${step + 1}: ${await focused(page)}`);
        }
    }
    check(outside.length === 0, "Tab keeps the focus in the sheet", outside.join(", "));
    await page.focus("#sheet-tab-0");
    await page.keyboard.press("ArrowRight");
    await page.keyboard.press("ArrowRight");
    check(await focused(page) === "sheet-tab-2", "the arrow keys move between the tabs", await focused(page));
    await page.focus(SPEED);
    const speed = await page.$eval(SPEED, (input) => input.value);
    await page.keyboard.press("ArrowRight");
    const moved = await page.$eval(SPEED, (input) => input.value);
    await page.keyboard.press("Enter");
    await waitForState(page, "idle", 3000);
    check(await focused(page) === "settings", "Enter presses OK and gives the focus back to Settings", await focused(page));
    check((await readSpeed(page)) === moved && moved !== speed, "OK by Enter keeps the speed", `${speed} -> ${moved}`);
    await openAnimationPage(page);
    await page.focus(SPEED);
    await page.keyboard.press("ArrowLeft");
    await page.keyboard.press("Escape");
    await waitForState(page, "idle", 3000);
    check((await readSpeed(page)) === moved, "Escape presses Cancel", "the speed changed");
    await openAnimationPage(page);
    await page.keyboard.down("Alt");
    await page.keyboard.press("KeyP");
    await page.keyboard.up("Alt");
    await waitForState(page, "saver", 3000);
    await sleep(500);
    await page.keyboard.press("Space");
    await waitForState(page, "sheet", 3000);
    check(await focused(page) === "sheet-preview", "Alt+P presses Preview; the focus is back on it after the saver",
        await focused(page));
    await page.keyboard.press("Escape");
    await waitForState(page, "idle", 3000);
    await page.focus("#start");
    await page.keyboard.press("Enter");
    await waitForState(page, "saver", 3000);
    await sleep(500);
    await page.keyboard.press("Space");
    await waitForState(page, "idle", 3000);
    check(await focused(page) === "start", "after the saver the focus is back on Start", await focused(page));
}

// axe-core on what shows: no critical and no serious violation.
async function checkAccessible(page, where) {
    await page.addScriptTag({ path: AXE });
    const violations = await page.evaluate(async () => (await window.axe.run(document)).violations
        .filter((found) => found.impact === "critical" || found.impact === "serious")
        .map((found) => `${found.impact} ${found.id}: ${found.nodes.map((node) => node.target.join(" ")).join(", ")}`));
    check(violations.length === 0, `no critical or serious accessibility fault on ${where}`, violations.join(" | "));
}

async function checkEveryScreen(page) {
    await checkAccessible(page, "the start screen");
    await page.click("#settings");
    for (let tab = 0; tab < 4; tab++) {
        await page.click(`#sheet-tab-${tab}`);
        await checkAccessible(page, `sheet page ${tab}`);
    }
    await closeSheet(page, "#sheet-cancel");
    await page.setViewport({ width: 360, height: 740 });
    await page.click("#settings");
    const edges = await page.$eval("#sheet", (sheet) => [sheet.getBoundingClientRect().left, sheet.getBoundingClientRect().right]);
    check(edges[0] >= 0 && edges[1] <= 360, "the sheet fits a screen 360 pixels wide", edges.join(" to "));
    await closeSheet(page, "#sheet-cancel");
    await page.setViewport({ width: 1920, height: 1080 });
}

await withBrowser(work, async (browser) => {
    const page = await browser.newPage();
    page.on("console", (message) => {
        if (message.type() === "error") {
            consoleErrors.push(`console: ${message.text()} ${JSON.stringify(message.location())}`);
        }
    });
    page.on("pageerror", (error) => consoleErrors.push(`page error: ${error.message}`));
    await page.goto(url, { waitUntil: "load" });
    await waitForState(page, "idle", 15000);
    checkConsole("while the page loads");
    await sleep(1500);
    await checkMarch(page, "preview", "the start screen's preview");
    await checkStillPreview(page);
    await runSaver(page);
    await checkHiddenBetweenRuns(page);
    await checkMute(page);
    await checkRefusals(page);
    await checkEveryScreen(page);
    await checkMouse(page);
    await checkKeyboard(page);
    await checkSettings(page);
    checkConsole("throughout");
    // Its answer lands in the console as an error, so it comes last.
    const refused = await page.evaluate(async () => {
        const response = await fetch("index.html", { method: "POST" });
        return `${response.status} ${response.headers.get("Allow")}`;
    });
    check(refused === "405 GET, HEAD", "the server refuses other methods, naming those it allows", refused);
});
