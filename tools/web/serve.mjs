// Serves a built page's folder on this machine alone.
//   node serve.mjs DIR [PORT]     (PORT 8420 unless given; 0 takes any free one)
import { createReadStream } from "node:fs";
import { stat } from "node:fs/promises";
import { createServer } from "node:http";
import { extname, join, resolve, sep } from "node:path";

const TYPES = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript; charset=utf-8",
    ".mjs": "text/javascript; charset=utf-8",
    ".wasm": "application/wasm",
    ".sf2": "audio/x-soundfont",
    ".css": "text/css; charset=utf-8",
    ".png": "image/png",
    ".ico": "image/x-icon",
    ".json": "application/json",
    ".webmanifest": "application/manifest+json",
    ".txt": "text/plain; charset=utf-8",
};

const [dirArgument, portArgument = "8420"] = process.argv.slice(2);
if (!dirArgument || !/^\d+$/.test(portArgument)) {
    console.error("usage: node serve.mjs DIR [PORT]");
    process.exit(2);
}
const root = resolve(dirArgument);

// The file a request names, or null when the path would leave the folder.
function fileOf(url) {
    let path;
    try {
        path = decodeURIComponent(new URL(url, "http://host").pathname);
    } catch {
        return null;
    }
    if (path.endsWith("/")) {
        path += "index.html";
    }
    const file = resolve(join(root, path));
    return file.startsWith(root + sep) ? file : null;
}

function answer(response, status, text, headers = {}) {
    response.writeHead(status, { "Content-Type": "text/plain; charset=utf-8", "Cache-Control": "no-cache", ...headers });
    response.end(text + "\n");
}

const server = createServer(async (request, response) => {
    if (request.method !== "GET" && request.method !== "HEAD") {
        answer(response, 405, "Method not allowed", { Allow: "GET, HEAD" });
        return;
    }
    const file = fileOf(request.url);
    if (!file) {
        answer(response, 403, "Forbidden");
        return;
    }
    const found = await stat(file).catch(() => null);
    if (!found || !found.isFile()) {
        answer(response, 404, "Not found");
        return;
    }
    response.writeHead(200, {
        "Content-Type": TYPES[extname(file).toLowerCase()] ?? "application/octet-stream",
        "Content-Length": found.size,
        "Cache-Control": "no-cache",
        // A page isolated from other origins gets the precise clock its
        // frame measure needs.
        "Cross-Origin-Opener-Policy": "same-origin",
        "Cross-Origin-Embedder-Policy": "require-corp",
    });
    if (request.method === "HEAD") {
        response.end();
        return;
    }
    createReadStream(file).on("error", () => response.destroy()).pipe(response);
});

server.on("error", (error) => {
    console.error(`serve.mjs: ${error.message}`);
    process.exit(1);
});
server.listen(Number(portArgument), "127.0.0.1", () => {
    console.log(`Serving ${dirArgument} at http://127.0.0.1:${server.address().port}/`);
});

for (const signal of ["SIGTERM", "SIGINT"]) {
    process.on(signal, () => {
        server.close();
        server.closeAllConnections();
    });
}
