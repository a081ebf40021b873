// The page's frame measure at 1920x1080: the saver runs for a while at its
// default speed, then the page tells its time per tick of the march. Run
// by bench/run.sh through tests/web/page_test.sh; writes the figures in the
// benchmarks' JSON form to $DOVEZI_BENCH_OUT.
//   node web_frame.mjs URL WORK
import { writeFileSync } from "node:fs";
import { setTimeout as sleep } from "node:timers/promises";

import { launchBrowser } from "../tests/web/browser.mjs";

const [url, work] = process.argv.slice(2);
const RUN_SECONDS = 15;

const browser = await launchBrowser(work);
try {
    const page = await browser.newPage();
    await page.goto(url, { waitUntil: "load" });
    await page.waitForFunction(() => window.dovezi && window.dovezi.state === "idle", { timeout: 15000 });
    await page.click("#start");
    await page.waitForFunction(() => window.dovezi.state === "saver", { timeout: 5000 });
    await sleep(RUN_SECONDS * 1000);
    const cost = await page.evaluate(() => window.dovezi.frameCost());
    const result = { name: "WebFrame/width:1920", frame_us: cost.meanMicroseconds, all_us: cost.allMicroseconds,
        ticks: cost.frames };
    writeFileSync(process.env.DOVEZI_BENCH_OUT, JSON.stringify({ benchmarks: [result] }));
    console.log(JSON.stringify(result));
} finally {
    await browser.close();
}
