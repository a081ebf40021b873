// The page's CPU at 1920x1080 beside the desktop saver's in the same run:
// every browser process's share of a core while the saver runs at its
// default speed (with the music, and with it off), the page's share while
// it is hidden after a run with music, and the desktop saver
// (DOVEZI_DESKTOP, the Linux program) on a private Xvfb together with that
// X server: once without a sound server, so silent, and once playing its
// music into a private sound server's null output, counted with it. Each
// figure is the median of three 20 s windows, from the scheduler's counts
// in /proc. The browser's own floors are measured in the same run: an empty
// page, the same page minimized, and a page whose only change is a 20x20
// canvas filled with a new colour at the saver's default tick (ten times a
// second): what any page that changes that often costs this browser, however
// little it draws. The busiest threads of each measure are printed by their
// processes' and their own names. Run by bench/run.sh through
// tests/web/page_test.sh; writes the figures in the benchmarks' JSON form
// to $DOVEZI_BENCH_OUT.
//   node web_cpu.mjs URL WORK
import { spawn, spawnSync } from "node:child_process";
import { existsSync, mkdirSync, readdirSync, readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { setTimeout as sleep } from "node:timers/promises";

import { launchBrowser } from "../tests/web/browser.mjs";

const [url, work] = process.argv.slice(2);
const WINDOW_SECONDS = Number(process.env.DOVEZI_CPU_SECONDS ?? 20);
const WINDOWS = 3;
const WARM_UP_MS = 3000;
const children = [];

// Each thread's run time in seconds, by its thread id.
function threadSeconds(pid) {
    const threads = new Map();
    let tasks = [];
    try {
        tasks = readdirSync(`/proc/${pid}/task`);
    } catch {
        return threads;
    }
    for (const task of tasks) {
        try {
            threads.set(task, Number(readFileSync(`/proc/${pid}/task/${task}/schedstat`, "utf8").split(" ")[0]) * 1e-9);
        } catch {
            // The thread ended.
        }
    }
    return threads;
}

// A process's name and, for the browser's children, its kind (renderer,
// gpu-process, utility and so on), with a thread's own name after it.
function threadName(pid, task) {
    const read = (path) => {
        try {
            return readFileSync(path, "utf8");
        } catch {
            return "";
        }
    };
    const kind = /--type=([\w-]+)/.exec(read(`/proc/${pid}/cmdline`).replaceAll("\0", " "));
    const process = read(`/proc/${pid}/comm`).trim() + (kind ? ` ${kind[1]}` : "");
    return `${process} / ${read(`/proc/${pid}/task/${task}/comm`).trim()}`;
}

// `roots` and every process descended from them.
function family(roots) {
    const parents = new Map();
    for (const name of readdirSync("/proc")) {
        if (!/^\d+$/.test(name)) {
            continue;
        }
        try {
            const stat = readFileSync(`/proc/${name}/stat`, "utf8");
            parents.set(Number(name), Number(stat.slice(stat.lastIndexOf(")") + 2).split(" ")[1]));
        } catch {
            // The process ended.
        }
    }
    const found = new Set(roots);
    for (let grew = true; grew;) {
        grew = false;
        for (const [pid, parent] of parents) {
            if (found.has(parent) && !found.has(pid)) {
                found.add(pid);
                grew = true;
            }
        }
    }
    return [...found];
}

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted[Math.floor(sorted.length / 2)];
}

// The median share of a core, in per cent, that `roots` and their
// descendants take over WINDOWS windows; the same for each root with its
// own descendants; and the threads' shares over all the windows, by name,
// largest first.
async function corePercent(roots) {
    const shares = [];
    const rootShares = roots.map(() => []);
    const byThread = new Map();
    let allSeconds = 0;
    for (let window = 0; window < WINDOWS; window++) {
        const before = new Map(family(roots).map((pid) => [pid, threadSeconds(pid)]));
        const start = performance.now();
        await sleep(WINDOW_SECONDS * 1000);
        const seconds = (performance.now() - start) / 1000;
        allSeconds += seconds;
        const byProcess = new Map();
        for (const pid of family(roots)) {
            const earlier = before.get(pid) ?? new Map();
            let used = 0;
            for (const [task, run] of threadSeconds(pid)) {
                const spent = run - (earlier.get(task) ?? 0);
                const name = threadName(pid, task);
                byThread.set(name, (byThread.get(name) ?? 0) + spent);
                used += spent;
            }
            byProcess.set(pid, used);
        }
        const share = (pids) => 100 * pids.reduce((sum, pid) => sum + (byProcess.get(pid) ?? 0), 0) / seconds;
        shares.push(share([...byProcess.keys()]));
        roots.forEach((root, at) => rootShares[at].push(share(family([root]))));
    }
    const threads = [...byThread].map(([name, spent]) => [name, 100 * spent / allSeconds])
        .filter(([, percent]) => percent >= 0.01).sort((a, b) => b[1] - a[1]);
    return { percent: median(shares), perRoot: rootShares.map(median), threads };
}

function start(argv, environment) {
    const child = spawn(argv[0], argv.slice(1), { env: { ...process.env, ...environment }, stdio: "ignore" });
    children.push(child);
    return child;
}

function endChildren() {
    for (const child of children.reverse()) {
        child.kill("SIGTERM");
    }
}
process.on("SIGTERM", () => {
    endChildren();
    process.exit(1);
});

// A private sound server with a null output, as the desktop's music would
// find it; its socket lies in `runtime`.
async function startSoundServer(runtime) {
    mkdirSync(runtime, { recursive: true, mode: 0o700 });
    const script = join(runtime, "bench.pa");
    writeFileSync(script, "load-module module-native-protocol-unix\n"
        + "load-module module-null-sink sink_name=heard rate=44100 channels=2\nset-default-sink heard\n");
    const server = start(["pulseaudio", "-n", "-F", script, "--exit-idle-time=-1", "--daemonize=no"],
        { XDG_RUNTIME_DIR: runtime });
    for (let tries = 0; tries < 100 && !existsSync(join(runtime, "pulse", "native")); tries++) {
        await sleep(100);
    }
    return server;
}

// How many streams play into the private sound server.
function soundStreams(environment) {
    const listed = spawnSync("pactl", ["list", "short", "sink-inputs"], {
        env: { ...process.env, ...environment }, encoding: "utf8",
    });
    return listed.status === 0 ? listed.stdout.split("\n").filter((line) => line.trim()).length : 0;
}

// The desktop saver on a private Xvfb, without a sound server (it plays no
// music then) or, `withSound`, with one that it plays its music into.
async function desktopPercent(withSound) {
    const program = process.env.DOVEZI_DESKTOP;
    const home = join(work, withSound ? "desktop-sound" : "desktop");
    mkdirSync(join(home, "config"), { recursive: true });
    const runtime = join(home, "run");
    const clientConfig = join(home, "pulse-client.conf");
    writeFileSync(clientConfig, "autospawn = no\n");
    const soundServer = withSound ? await startSoundServer(runtime) : null;
    const display = ":" + (90 + (process.pid % 500));
    const server = start(["Xvfb", display, "-screen", "0", "1920x1080x24", "-nolisten", "tcp"], {});
    await sleep(1500);
    const environment = {
        DISPLAY: display, HOME: home, XDG_CONFIG_HOME: join(home, "config"), XDG_RUNTIME_DIR: runtime,
        PULSE_CLIENTCONFIG: clientConfig,
    };
    const saver = start([program, "-s"], environment);
    await sleep(WARM_UP_MS);
    const streams = withSound ? soundStreams(environment) : 0;
    const roots = soundServer ? [saver.pid, server.pid, soundServer.pid] : [saver.pid, server.pid];
    const measured = await corePercent(roots);
    for (const child of [saver, server, soundServer]) {
        child?.kill("SIGTERM");
    }
    await sleep(500);
    return { saver: measured.perRoot[0], percent: measured.percent, streams, threads: measured.threads };
}

async function openPage(browser) {
    const page = await browser.newPage();
    await page.goto(url, { waitUntil: "load" });
    await page.waitForFunction(() => window.dovezi && window.dovezi.state === "idle", { timeout: 30000 });
    return page;
}

// The settings text with the music on or off, as the page keeps it.
function musicSettings(music) {
    return "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tevrin\\Dovezi\\Settings]\r\n"
        + `"PLAYMIDI"=dword:0000000${music ? 1 : 0}\r\n`;
}

// A new page running the saver, with the music or without.
async function runSaver(browser, music) {
    const page = await openPage(browser);
    await page.evaluate((text) => window.localStorage.setItem("Tevrin/Dovezi.reg", text), musicSettings(music));
    await page.reload({ waitUntil: "load" });
    await page.waitForFunction(() => window.dovezi.state === "idle", { timeout: 30000 });
    await page.click("#start");
    await page.waitForFunction(() => window.dovezi.state === "saver", { timeout: 10000 });
    return page;
}

async function saverPercent(browser, music) {
    const page = await runSaver(browser, music);
    await sleep(WARM_UP_MS);
    const measured = await corePercent([browser.process().pid]);
    await page.close();
    return measured;
}

// The page hidden after a run of the saver with its music, as when a person
// ends the saver and turns to another window.
// Shows the window of `page` (the pages are tabs of one window, which an
// earlier measure may have left minimized) or minimizes it, and waits for
// the page to see it.
async function showWindow(page, minimized) {
    const session = await page.createCDPSession();
    const { windowId } = await session.send("Browser.getWindowForTarget");
    await session.send("Browser.setWindowBounds", { windowId, bounds: { windowState: "normal" } });
    if (minimized) {
        await session.send("Browser.setWindowBounds", { windowId, bounds: { windowState: "minimized" } });
    }
    await page.waitForFunction((hidden) => document.hidden === hidden, { timeout: 5000 }, minimized);
}

async function hiddenPercent(browser) {
    const page = await runSaver(browser, true);
    await page.waitForFunction(() => window.DoveziMusic.isLoaded(), { timeout: 30000 });
    await sleep(WARM_UP_MS);
    await page.keyboard.press("Space");
    await page.waitForFunction(() => window.dovezi.state === "idle", { timeout: 10000 });
    await showWindow(page, true);
    await sleep(WARM_UP_MS);
    const measured = await corePercent([browser.process().pid]);
    await page.close();
    return measured;
}

// A page made of `html` alone, shown or minimized. It is reached as the
// saver's page is, by a navigation to its site, so that the browser's own
// bookkeeping of a visit (its history, its profile's files) is in the floor
// too.
async function floorPercent(browser, html, minimized) {
    const page = await browser.newPage();
    await page.goto(new URL("floor", url).href);
    await page.setContent(html);
    await showWindow(page, minimized);
    await sleep(WARM_UP_MS);
    const measured = await corePercent([browser.process().pid]);
    await page.close();
    return measured;
}
const EMPTY_PAGE = "<!doctype html><title>floor</title>";
const CHANGING_PAGE = "<!doctype html><title>floor</title><canvas width=20 height=20></canvas><script>"
    + "const drawing = document.querySelector('canvas').getContext('2d'); let shade = 0;"
    + "setInterval(() => { shade = (shade + 5) % 256; drawing.fillStyle = `rgb(${shade},0,0)`;"
    + " drawing.fillRect(0, 0, 20, 20); }, 100);</script>";

// The busiest threads of a measure, one a line.
function showThreads(title, measured) {
    console.log(`${title}: ${measured.percent.toFixed(2)} % of a core`);
    for (const [name, percent] of measured.threads.slice(0, 15)) {
        console.log(`  ${percent.toFixed(2).padStart(6)} %  ${name}`);
    }
}

const browser = await launchBrowser(work);
try {
    const music = await saverPercent(browser, true);
    const silent = await saverPercent(browser, false);
    const hidden = await hiddenPercent(browser);
    const empty = await floorPercent(browser, EMPTY_PAGE, false);
    const emptyHidden = await floorPercent(browser, EMPTY_PAGE, true);
    const changing = await floorPercent(browser, CHANGING_PAGE, false);
    showThreads("page with music", music);
    showThreads("page, music off", silent);
    showThreads("page hidden", hidden);
    showThreads("an empty page", empty);
    showThreads("an empty page, minimized", emptyHidden);
    showThreads("a 20x20 canvas changed ten times a second", changing);
    const result = {
        name: "WebCpu/width:1920",
        page_pct: music.percent,
        page_silent_pct: silent.percent,
        hidden_pct: hidden.percent,
        empty_pct: empty.percent,
        empty_hidden_pct: emptyHidden.percent,
        changing_pct: changing.percent,
        x_changing_silent: silent.percent / changing.percent,
        x_empty_hidden: hidden.percent / emptyHidden.percent,
    };
    if (process.env.DOVEZI_DESKTOP) {
        // Without a sound server the desktop saver renders no music.
        const desktop = await desktopPercent(false);
        showThreads("desktop saver and X server", desktop);
        result.desktop_pct = desktop.saver;
        result.desktop_x_pct = desktop.percent;
        result.x_desktop = result.page_pct / desktop.percent;
        result.x_desktop_silent = result.page_silent_pct / desktop.percent;
        const sounding = spawnSync("pulseaudio", ["--version"]).status === 0 ? await desktopPercent(true) : null;
        if (sounding) {
            showThreads(`desktop saver, X server and sound server (${sounding.streams} streams)`, sounding);
        }
        if (sounding?.streams > 0) {
            result.desktop_music_pct = sounding.saver;
            result.desktop_music_x_sound_pct = sounding.percent;
            result.x_desktop_music = result.page_pct / sounding.percent;
        }
    }
    writeFileSync(process.env.DOVEZI_BENCH_OUT, JSON.stringify({ benchmarks: [result] }));
    console.log(JSON.stringify(result));
} finally {
    endChildren();
    await browser.close();
}
