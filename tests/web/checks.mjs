// What the browser tests share: a browser for the test, reporting a check,
// waiting with a named failure, the page's state, and listening to the
// page's music.
import { launchBrowser } from "./browser.mjs";

// Runs `test` with a new browser, which goes when it ends; a failure is
// reported and sets the exit status.
export async function withBrowser(work, test) {
    try {
        const browser = await launchBrowser(work);
        try {
            await test(browser);
        } finally {
            await browser.close();
        }
    } catch (error) {
        console.log(`FAIL: ${error.message}`);
        process.exitCode = 1;
    }
}

export function pass(what) {
    console.log(`PASS: ${what}`);
}

export function check(ok, what, detail) {
    if (!ok) {
        throw new Error(`${what} (${detail})`);
    }
    pass(what);
}

export async function waitFor(what, waiting) {
    try {
        return await waiting;
    } catch (error) {
        throw new Error(`${what}: ${error.message}`);
    }
}

export function waitForState(page, state, milliseconds) {
    return waitFor(
        `window.dovezi.state is not '${state}' within ${milliseconds} ms`,
        page.waitForFunction((wanted) => window.dovezi && window.dovezi.state === wanted,
            { timeout: milliseconds, polling: 50 }, state));
}

// The loudest synthesizer level seen until the page's clock passes deadline
// (a performance.now() time), or the first one above threshold.
export function listenForMusic(page, deadline, threshold) {
    return page.evaluate(async (until, enough) => {
        let loudest = 0;
        while (performance.now() < until && loudest <= enough) {
            loudest = Math.max(loudest, window.DoveziMusic.level());
            await new Promise((resolve) => setTimeout(resolve, 50));
        }
        return loudest;
    }, deadline, threshold);
}
