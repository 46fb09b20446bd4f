// What the page's tests and its benchmark share: a static server for built sites, the browser
// engines started headless (Debian's Chromium and Firefox ESR through Puppeteer, WebKitGTK's
// MiniBrowser through its WebDriver), and a recorder of the ticker's writes.

import { spawn } from "node:child_process";
import { readFile, writeFile } from "node:fs/promises";
import http from "node:http";
import net from "node:net";
import path from "node:path";
import puppeteer from "puppeteer-core";

const contentTypes = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript",
    ".wasm": "application/wasm",
    ".css": "text/css",
    ".woff2": "font/woff2",
    ".ico": "image/vnd.microsoft.icon",
    ".png": "image/png",
    ".webmanifest": "application/manifest+json",
    ".txt": "text/plain; charset=utf-8",
};

// Serves each folder under its URL prefix, the longest prefix first, on a free loopback port.
// A prefix's folder may come with files to answer as a broken host does: `missing`, a pattern of
// names it has lost, and `asText`, one of names it sends as plain text; or as a slow network
// does: `held`, one of names it answers only once release() is called. Resolves to
// { origin, close, release }.
export async function serve(prefixes) {
    const routes = Object.entries(prefixes)
        .map(([prefix, site]) => [prefix, typeof site === "string" ? { folder: site } : site])
        .sort(([a], [b]) => b.length - a.length);
    let release;
    const released = new Promise((resolve) => {
        release = resolve;
    });
    const server = http.createServer(async (request, response) => {
        // URL parsing has resolved any "..": a path stays inside its folder.
        const { pathname } = new URL(request.url, "http://localhost");
        const route = routes.find(([prefix]) => pathname.startsWith(prefix));
        const name = route && (decodeURIComponent(pathname.slice(route[0].length)) || "index.html");
        try {
            if (route[1].missing?.test(name)) {
                throw new Error("lost");
            }
            if (route[1].held?.test(name)) {
                await released;
            }
            const body = await readFile(path.join(route[1].folder, name));
            response.writeHead(200, {
                "Content-Type": route[1].asText?.test(name)
                    ? contentTypes[".txt"]
                    : (contentTypes[path.extname(name)] ?? "application/octet-stream"),
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
        release,
    };
}

// For evaluateOnNewDocument, or run as soon as a page has loaded where an engine's driver cannot
// run a script sooner: keeps every violation of the page's security policy in
// window.policyViolations.
export function watchPolicy() {
    window.policyViolations = [];
    document.addEventListener("securitypolicyviolation", (event) =>
        window.policyViolations.push(`${event.effectiveDirective} ${event.blockedURI}`),
    );
}

// Every engine's pages are this size: the browser's own window at launch, as a visitor's is, and
// not Puppeteer's emulated viewport, whose commands not every engine of Debian's releases knows
// (Firefox ESR 140 has no emulation.setScreenOrientationOverride).
const windowSize = { width: 1024, height: 768 };

// Headless, with no sandbox (these machines run as root) and nothing that reaches the network.
export function launchChromium() {
    return puppeteer.launch({
        executablePath: "/usr/bin/chromium",
        defaultViewport: null,
        args: [
            `--window-size=${windowSize.width},${windowSize.height}`,
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

// Headless Firefox ESR, driven over WebDriver BiDi.
function launchFirefox() {
    return puppeteer.launch({
        browser: "firefox",
        executablePath: "/usr/bin/firefox-esr",
        defaultViewport: null,
        args: [`--width=${windowSize.width}`, `--height=${windowSize.height}`],
        extraPrefsFirefox: { "network.proxy.type": 0, "app.update.enabled": false },
    });
}

const freePort = () =>
    new Promise((resolve, reject) => {
        const probe = net.createServer();
        probe.on("error", reject);
        probe.listen(0, "127.0.0.1", () => {
            const { port } = probe.address();
            probe.close(() => resolve(port));
        });
    });

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Resolves once `fn`, run in the page, returns true; polled, against a deadline. Puppeteer's own
// waitForFunction makes its predicate inside the page with `new Function`, which the page's policy
// forbids: Firefox ESR 140 holds a driver's code to that policy too, and every wait failed there.
async function waitUntil(page, fn, { timeout = 30000 } = {}) {
    const deadline = Date.now() + timeout;
    while (!(await page.evaluate(fn))) {
        if (Date.now() > deadline) {
            throw new Error(`waitForFunction: still false after ${timeout} ms: ${fn}`);
        }
        await sleep(50);
    }
}

// W3C WebDriver's keys for the ones the tests press.
const webDriverKeys = { ArrowDown: "\uE015", ArrowUp: "\uE013", Tab: "\uE004", Shift: "\uE008" };

// One W3C WebDriver request; resolves to its value. A browser that stops answering its driver
// would leave a request waiting for good: it fails after a minute, with what the driver and its
// browsers last printed (`printed()`).
async function webDriverCommand(url, method, body, printed) {
    const response = await fetch(url, {
        method,
        signal: AbortSignal.timeout(60000),
        headers: { "Content-Type": "application/json" },
        body: body === undefined ? undefined : JSON.stringify(body),
    }).catch((error) => {
        throw new Error(`WebDriver ${method} ${url}: ${error.message}; it printed:\n${printed()}`);
    });
    const { value } = await response.json();
    if (!response.ok) {
        throw new Error(`WebDriver ${method} ${url}: ${value.error}: ${value.message}`);
    }
    return value;
}

// A WebDriver session as a page, with the part of Puppeteer's Page the tests use: goto,
// evaluate, waitForFunction, mouse and keyboard (as W3C actions), screenshot.
class WebDriverPage {
    constructor(base, printed) {
        this.base = base;
        this.printed = printed;
        this.mouse = {
            click: (x, y, options) => this.#click(x, y, options),
            move: (x, y) => this.#pointer([{ type: "pointerMove", x, y, origin: "viewport" }]),
        };
        this.keyboard = {
            down: (key) => this.#keys([{ type: "keyDown", value: webDriverKeys[key] }]),
            up: (key) => this.#keys([{ type: "keyUp", value: webDriverKeys[key] }]),
            press: (key) =>
                this.#keys([
                    { type: "keyDown", value: webDriverKeys[key] },
                    { type: "keyUp", value: webDriverKeys[key] },
                ]),
        };
    }

    command(method, route, body) {
        return webDriverCommand(this.base + route, method, body, this.printed);
    }

    goto(url) {
        return this.command("POST", "/url", { url });
    }

    // Runs a script's source in the page, as its driver does: outside the page's security policy.
    run(source) {
        return this.command("POST", "/execute/sync", { script: source, args: [] });
    }

    // Runs `fn` in the page with JSON arguments, and resolves to its JSON result.
    async evaluate(fn, ...args) {
        const value = await this.command("POST", "/execute/async", {
            script: `const done = arguments[arguments.length - 1];
                     Promise.resolve((${fn}).apply(null, Array.from(arguments).slice(0, -1)))
                         .then((v) => done({ v }), (e) => done({ e: String(e) }));`,
            args,
        });
        if (value.e !== undefined) {
            throw new Error(value.e);
        }
        return value.v;
    }

    waitForFunction(fn, options) {
        return waitUntil(this, fn, options);
    }

    // The window's outer size, as near the viewport as the window manager allows; WebDriver
    // emulates no screen density or touch.
    resize({ width, height }) {
        return this.command("POST", "/window/rect", { width, height });
    }

    async screenshot({ path: file, encoding } = {}) {
        const png = await this.command("GET", "/screenshot");
        if (encoding === "base64") {
            return png;
        }
        await writeFile(file, Buffer.from(png, "base64"));
    }

    // A key held down stays down across calls, as in Puppeteer (Shift, then Tab): the session
    // keeps its input state until it is released.
    async #keys(actions) {
        await this.command("POST", "/actions", {
            actions: [{ type: "key", id: "keyboard", actions }],
        });
    }

    async #click(x, y, { button = "left", clickCount = 1 } = {}) {
        const number = button === "right" ? 2 : 0;
        const actions = [{ type: "pointerMove", x: Math.round(x), y: Math.round(y), origin: "viewport" }];
        for (let i = 0; i < clickCount; ++i) {
            actions.push({ type: "pointerDown", button: number }, { type: "pointerUp", button: number });
        }
        await this.#pointer(actions);
    }

    #pointer(actions) {
        return this.command("POST", "/actions", {
            actions: [{ type: "pointer", id: "mouse", parameters: { pointerType: "mouse" }, actions }],
        });
    }
}

// WebKitGTK's MiniBrowser, through WebKitWebDriver, on the X display the test runs under. Each
// newPage() is a session of its own, with a browser of its own.
async function launchWebKit() {
    const port = await freePort();
    // What the driver and its browsers print, kept to tell why a browser stopped answering.
    const driver = spawn("WebKitWebDriver", [`--port=${port}`], { stdio: ["ignore", "pipe", "pipe"] });
    let printed = "";
    const keep = (chunk) => {
        printed = (printed + chunk).slice(-4000);
    };
    driver.stdout.on("data", keep);
    driver.stderr.on("data", keep);
    const origin = `http://127.0.0.1:${port}`;
    const deadline = Date.now() + 10000;
    for (;;) {
        try {
            if ((await (await fetch(`${origin}/status`)).json()).value.ready) {
                break;
            }
        } catch {
            // not listening yet
        }
        if (Date.now() > deadline) {
            driver.kill();
            throw new Error("WebKitWebDriver did not start");
        }
        await sleep(50);
    }
    const sessions = [];
    return {
        async newPage() {
            const capabilities = {
                alwaysMatch: {
                    "webkitgtk:browserOptions": {
                        binary: "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser",
                        args: ["--automation"],
                    },
                },
            };
            const session = () =>
                webDriverCommand(`${origin}/session`, "POST", { capabilities }, () => printed);
            // A browser has been seen, once on a new machine, never to answer: one more try.
            const value = await session().catch((error) => {
                console.error(`${error.message}\nstarting another browser`);
                return session();
            });
            const page = new WebDriverPage(`${origin}/session/${value.sessionId}`, () => printed);
            sessions.push(page);
            page.close = async () => {
                await page.command("DELETE", "");
                sessions.splice(sessions.indexOf(page), 1);
            };
            // The window's outer size, as near the viewport as the window manager allows.
            await page.command("POST", "/window/rect", windowSize);
            return page;
        },
        async close() {
            await Promise.all(sessions.map((page) => page.close()));
            driver.kill();
        },
    };
}

// The engine the tests run in, by its name, as a browser whose newPage() resolves to a page
// with Puppeteer's API (or the part of it that WebDriverPage has), run(source) and close().
export async function launchEngine(name) {
    if (name === "webkit") {
        return launchWebKit();
    }
    const browser = await (name === "firefox" ? launchFirefox() : launchChromium());
    return {
        async newPage() {
            const context = await browser.createBrowserContext();
            const page = await context.newPage();
            page.close = () => context.close();
            page.run = (source) => page.evaluate(source);
            page.waitForFunction = (fn, options) => waitUntil(page, fn, options);
            // Firefox's driver emulates the screen's size and density, not a touch screen, and
            // Firefox ESR 140 no screen orientation, which Puppeteer's setViewport also sets.
            page.resize =
                name === "firefox"
                    ? ({ width, height, deviceScaleFactor }) =>
                          page.mainFrame().browsingContext.setViewport({
                              viewport: { width, height },
                              devicePixelRatio: deviceScaleFactor ?? null,
                          })
                    : (size) => page.setViewport(size);
            return page;
        },
        close: () => browser.close(),
    };
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
