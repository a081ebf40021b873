// The page's service worker: it keeps the site's files, so that the page
// runs without the network once it has been visited. The program and the
// page come from the network when it answers (a new build shows at once)
// and from the kept copy when it does not; the music's files, whose names
// never change while their content stays, come from the kept copy first.
// They are kept only once a run has played music, as the page fetches them
// only then.
"use strict";

const CACHE = "dovezi-site";
const SITE = ["./", "index.html", "page.css", "music.js", "sheet-names.js", "sheet-keys.js", "sheet.js", "page.js",
    "Dovezi.js", "Dovezi.wasm", "favicon.ico", "manifest.webmanifest", "icon-192.png", "icon-512.png"];
const KEPT_FIRST = /\.(sf2|txt)$|synthesizer|fluidsynth/;

self.addEventListener("install", (event) => {
    event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(SITE)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
    event.waitUntil(self.clients.claim());
});

async function fromNetwork(request) {
    const response = await fetch(request);
    if (response.ok) {
        const cache = await caches.open(CACHE);
        await cache.put(request, response.clone());
    }
    return response;
}

async function answer(request) {
    if (KEPT_FIRST.test(new URL(request.url).pathname)) {
        return (await caches.match(request)) ?? fromNetwork(request);
    }
    try {
        return await fromNetwork(request);
    } catch (offline) {
        const kept = await caches.match(request, { ignoreSearch: true });
        if (kept) {
            return kept;
        }
        throw offline;
    }
}

self.addEventListener("fetch", (event) => {
    const request = event.request;
    if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) {
        return;
    }
    event.respondWith(answer(request));
});
