// The page over a slow network (1.5 Mbit/s down, 40 ms each way), as a
// first visit with an empty cache: the time until the start screen's text
// and buttons show, until the program is ready, and until the music is heard
// when Start is pressed as soon as it can be. Run by bench/run.sh through
// tests/web/page_test.sh; writes the figures in the benchmarks' JSON form to
// $DOVEZI_BENCH_OUT.
//   node web_network.mjs URL WORK
import { writeFileSync } from "node:fs";

import { launchBrowser } from "../tests/web/browser.mjs";

const [url, work] = process.argv.slice(2);
const BITS_PER_SECOND = 1.5e6;
const LATENCY_MS = 40;

const browser = await launchBrowser(work);
try {
    const page = await browser.newPage();
    // The service worker's own fetches would escape the slow network.
    await page.setBypassServiceWorker(true);
    const session = await page.createCDPSession();
    await session.send("Network.enable");
    await session.send("Network.setCacheDisabled", { cacheDisabled: true });
    await session.send("Network.emulateNetworkConditions", { offline: false, latency: LATENCY_MS,
        downloadThroughput: BITS_PER_SECOND / 8, uploadThroughput: BITS_PER_SECOND / 8 });
    await page.goto(url, { waitUntil: "domcontentloaded" });
    await page.waitForFunction(() => window.dovezi && window.dovezi.state === "idle", { timeout: 120000, polling: 50 });
    const ready = await page.evaluate(() => performance.now());
    await page.click("#start");
    await page.waitForFunction(() => window.DoveziMusic.level() > 0.001, { timeout: 180000, polling: 50 });
    const music = await page.evaluate(() => performance.now());
    const firstScreen = await page.evaluate(() =>
        performance.getEntriesByName("first-contentful-paint")[0]?.startTime ?? -1);
    const result = { name: "WebNetwork/mbit:1.5", first_screen_ms: firstScreen, ready_ms: ready, music_ms: music };
    writeFileSync(process.env.DOVEZI_BENCH_OUT, JSON.stringify({ benchmarks: [result] }));
    console.log(JSON.stringify(result));
} finally {
    await browser.close();
}
