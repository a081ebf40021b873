// Debian's chromium, headless, with its profile in the run's private folder
// and its process id written there, so that page_test.sh can end it.
import { writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { join } from "node:path";

const require = createRequire(new URL("../../tools/web/package.json", import.meta.url));
const puppeteer = require("puppeteer-core");

export async function launchBrowser(work) {
    const browser = await puppeteer.launch({
        executablePath: "/usr/bin/chromium",
        headless: true,
        userDataDir: join(work, "profile"),
        defaultViewport: { width: 1920, height: 1080 },
        args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking", "--disable-component-update",
            "--disable-sync", "--no-first-run", "--window-size=1920,1080", "--mute-audio"],
    });
    writeFileSync(join(work, "browser.pid"), String(browser.process().pid));
    return browser;
}
