// The page's CPU at 1920x1080 beside the desktop saver's in the same run:
// every browser process's share of a core while the saver runs at its
// default speed (with the music, and with it off), the page's share while
// it is hidden, and the desktop saver (DOVEZI_DESKTOP, the Linux program)
// on a private Xvfb together with that X server. Each figure is the median
// of three 20 s windows, from the scheduler's counts in /proc. Run by
// bench/run.sh through tests/web/page_test.sh; writes the figures in the
// benchmarks' JSON form to $DOVEZI_BENCH_OUT.
//   node web_cpu.mjs URL WORK
import { spawn } from "node:child_process";
import { mkdirSync, readdirSync, readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { setTimeout as sleep } from "node:timers/promises";

import { launchBrowser } from "../tests/web/browser.mjs";

const [url, work] = process.argv.slice(2);
const WINDOW_SECONDS = Number(process.env.DOVEZI_CPU_SECONDS ?? 20);
const WINDOWS = 3;
const WARM_UP_MS = 3000;
const children = [];

function runSeconds(pid) {
    let total = 0;
    let tasks = [];
    try {
        tasks = readdirSync(`/proc/${pid}/task`);
    } catch {
        return 0;
    }
    for (const task of tasks) {
        try {
            total += Number(readFileSync(`/proc/${pid}/task/${task}/schedstat`, "utf8").split(" ")[0]) * 1e-9;
        } catch {
            // The thread ended.
        }
    }
    return total;
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

// The median share of a core, in per cent, that `roots` and their
// descendants take over WINDOWS windows.
async function corePercent(roots) {
    const shares = [];
    for (let window = 0; window < WINDOWS; window++) {
        const pids = family(roots);
        const before = new Map(pids.map((pid) => [pid, runSeconds(pid)]));
        const start = performance.now();
        await sleep(WINDOW_SECONDS * 1000);
        const seconds = (performance.now() - start) / 1000;
        let used = 0;
        for (const pid of family(roots)) {
            used += runSeconds(pid) - (before.get(pid) ?? 0);
        }
        shares.push(100 * used / seconds);
    }
    shares.sort((a, b) => a - b);
    return shares[Math.floor(shares.length / 2)];
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

async function desktopPercent() {
    const program = process.env.DOVEZI_DESKTOP;
    const home = join(work, "desktop");
    mkdirSync(join(home, "config"), { recursive: true });
    const display = ":" + (90 + (process.pid % 500));
    const server = start(["Xvfb", display, "-screen", "0", "1920x1080x24", "-nolisten", "tcp"], {});
    await sleep(1500);
    const saver = start([program, "-s"], { DISPLAY: display, HOME: home, XDG_CONFIG_HOME: join(home, "config") });
    await sleep(WARM_UP_MS);
    const saverPercent = await corePercent([saver.pid]);
    const both = await corePercent([saver.pid, server.pid]);
    saver.kill("SIGTERM");
    server.kill("SIGTERM");
    return { saver: saverPercent, withServer: both };
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

async function saverPercent(browser, music) {
    const page = await openPage(browser);
    await page.evaluate((text) => window.localStorage.setItem("Tevrin/Dovezi.reg", text), musicSettings(music));
    await page.reload({ waitUntil: "load" });
    await page.waitForFunction(() => window.dovezi.state === "idle", { timeout: 30000 });
    await page.click("#start");
    await page.waitForFunction(() => window.dovezi.state === "saver", { timeout: 10000 });
    await sleep(WARM_UP_MS);
    const percent = await corePercent([browser.process().pid]);
    await page.close();
    return percent;
}

async function hiddenPercent(browser) {
    const page = await openPage(browser);
    const session = await page.createCDPSession();
    const { windowId } = await session.send("Browser.getWindowForTarget");
    await session.send("Browser.setWindowBounds", { windowId, bounds: { windowState: "minimized" } });
    await page.waitForFunction(() => document.hidden, { timeout: 5000 });
    await sleep(WARM_UP_MS);
    const percent = await corePercent([browser.process().pid]);
    await page.close();
    return percent;
}

const browser = await launchBrowser(work);
try {
    const result = {
        name: "WebCpu/width:1920",
        page_pct: await saverPercent(browser, true),
        page_silent_pct: await saverPercent(browser, false),
        hidden_pct: await hiddenPercent(browser),
    };
    if (process.env.DOVEZI_DESKTOP) {
        const desktop = await desktopPercent();
        result.desktop_pct = desktop.saver;
        result.desktop_x_pct = desktop.withServer;
        result.x_desktop = result.page_pct / desktop.withServer;
        // The desktop saver renders no sound without a sound server, as here.
        result.x_desktop_silent = result.page_silent_pct / desktop.withServer;
    }
    writeFileSync(process.env.DOVEZI_BENCH_OUT, JSON.stringify({ benchmarks: [result] }));
    console.log(JSON.stringify(result));
} finally {
    endChildren();
    await browser.close();
}
