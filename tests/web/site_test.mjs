// The site folder as a web host would serve it (page_test.sh with
// DOVEZI_PLAIN_SERVER=1: a plain static server, no headers of its own): it
// loads and plays, and on a second visit without the network it loads and
// plays again from the service worker's copy. Opened as a file, it says
// that it must be served.
//   node site_test.mjs URL WORK SITE
import { join } from "node:path";
import { pathToFileURL } from "node:url";
import { setTimeout as sleep } from "node:timers/promises";

import { check, listenForMusic, pass, waitFor, waitForState, withBrowser } from "./checks.mjs";

const [url, work, site] = process.argv.slice(2);

async function playOnce(page, when) {
    await waitForState(page, "idle", 30000);
    const startedAt = await page.evaluate(() => performance.now());
    await page.click("#start");
    await waitForState(page, "saver", 5000);
    const loudest = await listenForMusic(page, startedAt + 15000, 0.001);
    check(loudest > 0.001, `the saver runs and plays ${when}`, `loudest level ${loudest}`);
    await page.keyboard.press("Space");
    await waitForState(page, "idle", 3000);
}

await withBrowser(work, async (browser) => {
    const page = await browser.newPage();
    await page.goto(url, { waitUntil: "load" });
    await playOnce(page, "from a plain static server");
    await waitFor("no service worker took the page",
        page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 10000 }));
    pass("a service worker keeps the site");
    await page.setOfflineMode(true);
    await page.reload({ waitUntil: "load" });
    await playOnce(page, "without the network on the second visit");
    await page.setOfflineMode(false);

    await page.goto(pathToFileURL(join(site, "index.html")).href, { waitUntil: "load" });
    await sleep(500);
    const notice = await page.$eval("#status", (status) => status.textContent);
    check(/web server/.test(notice), "opened as a file, the page says it must be served", notice);
});
