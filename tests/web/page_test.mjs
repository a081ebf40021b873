// The built page in a headless browser at 1920x1080, used as a person would:
// it loads cleanly, its start screen previews the march, Start shows a
// moving picture with music, a key ends the saver, and the settings sheet keeps what OK saves and drops what Cancel
// leaves. page_test.sh starts the server and runs this.
//   node page_test.mjs URL WORK    (WORK: a private folder for the browser)
import { setTimeout as sleep } from "node:timers/promises";

import { launchBrowser } from "./browser.mjs";

const [url, work] = process.argv.slice(2);
const SPEED = "#control-2-1002";
const consoleErrors = [];

function pass(what) {
    console.log(`PASS: ${what}`);
}

function check(ok, what, detail) {
    if (!ok) {
        throw new Error(`${what} (${detail})`);
    }
    pass(what);
}

async function waitFor(what, waiting) {
    try {
        return await waiting;
    } catch (error) {
        throw new Error(`${what}: ${error.message}`);
    }
}

function waitForState(page, state, milliseconds) {
    return waitFor(
        `window.dovezi.state is not '${state}' within ${milliseconds} ms`,
        page.waitForFunction((wanted) => window.dovezi && window.dovezi.state === wanted,
            { timeout: milliseconds, polling: 50 }, state));
}

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

// The loudest synthesizer level seen until the page's clock passes deadline
// (a performance.now() time), or the first one above threshold.
function listenForMusic(page, deadline, threshold) {
    return page.evaluate(async (until, enough) => {
        let loudest = 0;
        while (performance.now() < until && loudest <= enough) {
            loudest = Math.max(loudest, window.DoveziMusic.level());
            await new Promise((resolve) => setTimeout(resolve, 50));
        }
        return loudest;
    }, deadline, threshold);
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
    await waitForState(page, "idle", 3000);
    await waitFor("#start is not visible again", page.waitForSelector("#start", { visible: true, timeout: 1000 }));
    pass("a key press ends the saver");
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

// Moves the slider as a drag would, to an allowed value other than the one
// it shows; answers that value.
async function dragSpeed(slider) {
    const moved = await slider.evaluate((input) => {
        const shown = input.value;
        const low = Number(input.min || 0);
        const high = Number(input.max || 100);
        for (const share of [0.25, 0.75, 0, 1]) {
            input.value = String(low + share * (high - low));
            if (input.value !== shown) {
                input.dispatchEvent(new Event("input", { bubbles: true }));
                input.dispatchEvent(new Event("change", { bubbles: true }));
                return input.value;
            }
        }
        return null;
    });
    if (moved === null) {
        throw new Error("the speed slider has one value only");
    }
    return moved;
}

async function checkSettings(page) {
    const original = await readSpeed(page);
    let slider = await openAnimationPage(page);
    const kept = await dragSpeed(slider);
    await closeSheet(page, "#sheet-ok");
    await page.reload({ waitUntil: "load" });
    await waitForState(page, "idle", 15000);
    const reloaded = await readSpeed(page);
    check(reloaded === kept, "the speed OK saved survives a reload", `set ${kept} over ${original}, read ${reloaded}`);
    slider = await openAnimationPage(page);
    const dropped = await dragSpeed(slider);
    await closeSheet(page, "#sheet-cancel");
    const afterCancel = await readSpeed(page);
    check(afterCancel === kept, "Cancel restores the speed", `OK'd ${kept}, cancelled ${dropped}, read ${afterCancel}`);
}

async function main() {
    const browser = await launchBrowser(work);
    try {
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
        await runSaver(page);
        await checkSettings(page);
        checkConsole("throughout");
    } finally {
        await browser.close();
    }
}

try {
    await main();
} catch (error) {
    console.log(`FAIL: ${error.message}`);
    process.exitCode = 1;
}
