// What the page's tests and its benchmark share: a static server for built sites, Debian's
// Chromium started headless, and a recorder of the ticker's writes.

import { readFile } from "node:fs/promises";
import http from "node:http";
import path from "node:path";
import puppeteer from "puppeteer-core";

const contentTypes = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript",
    ".wasm": "application/wasm",
    ".css": "text/css",
    ".woff2": "font/woff2",
    ".ico": "image/vnd.microsoft.icon",
    ".txt": "text/plain; charset=utf-8",
};

// Serves each folder under its URL prefix, the longest prefix first, on a free loopback port.
// Resolves to { origin, close }.
export async function serve(prefixes) {
    const routes = Object.entries(prefixes).sort(([a], [b]) => b.length - a.length);
    const server = http.createServer(async (request, response) => {
        // URL parsing has resolved any "..": a path stays inside its folder.
        const { pathname } = new URL(request.url, "http://localhost");
        const route = routes.find(([prefix]) => pathname.startsWith(prefix));
        const name = route && (decodeURIComponent(pathname.slice(route[0].length)) || "index.html");
        try {
            const body = await readFile(path.join(route[1], name));
            response.writeHead(200, {
                "Content-Type": contentTypes[path.extname(name)] ?? "application/octet-stream",
            });
            response.end(body);
        } catch {
            response.writeHead(404).end();
        }
    });
    await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
    return {
        origin: `http://127.0.0.1:${server.address().port}`,
        close: () => new Promise((resolve) => server.close(resolve)),
    };
}

// Headless, with no sandbox (these machines run as root) and nothing that reaches the network.
export function launchChromium() {
    return puppeteer.launch({
        executablePath: "/usr/bin/chromium",
        args: [
            "--no-sandbox",
            "--disable-gpu",
            "--disable-quic",
            "--no-first-run",
            "--disable-background-networking",
            "--disable-component-update",
            "--disable-sync",
        ],
    });
}

// For evaluateOnNewDocument: every value written to the ticker (the input `tickerId`), with its
// time, in window.tickerWrites. The program sets the value once a tick: count it where it is set.
export function recordTickerWrites(tickerId) {
    const value = Object.getOwnPropertyDescriptor(HTMLInputElement.prototype, "value");
    window.tickerWrites = [];
    Object.defineProperty(HTMLInputElement.prototype, "value", {
        ...value,
        set(text) {
            if (this.id === tickerId) {
                window.tickerWrites.push({ text, at: performance.now() });
            }
            value.set.call(this, text);
        },
    });
}
