// The Lumora page in a real headless Chromium (Debian's), driven by Puppeteer and served over
// HTTP from the built site: what only the page shows, on its real clock. Its title, language,
// place and fonts, the lamps in a screenshot's pixels, Chromium's accessibility tree, the error
// dialog, a frozen page, a phone's screen, a zoom, and the site as an installable app that works
// offline and updates whole. What the window promises on every platform is in the scenario table
// (page_scenarios_test.mjs).
//   LUMORA_SITE          the site's folder
//   LUMORA_FAILING_SITE  the same page running a program that fails at its third lamp tick

import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { cp, mkdtemp, readFile, rm, writeFile } from "node:fs/promises";
import os from "node:os";
import path from "node:path";
import { launchChromium, recordTickerWrites, serve } from "./page_support.mjs";

// The design's texts the checks need.
const caption = "lumora.example ИТ - светлинна реклама и текст";
const lampColours = [0xffffff, 0xff0000, 0xff8000, 0xffff00, 0x00ff00, 0x00ffff, 0x0000ff, 0xff00ff];
const windowColour = 0xc0c0ff;
const tickMs = 200;

let server;
let browser;
let origin;
// Every console message of an error or warning kind, with the page it came from.
const consoleProblems = [];

before(async () => {
    server = await serve({ "/failing/": process.env.LUMORA_FAILING_SITE, "/": process.env.LUMORA_SITE });
    origin = server.origin;
    browser = await launchChromium();
});

after(async () => {
    await browser?.close();
    await server?.close();
});

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// A fresh page on the site, the window built, and a recorder of every ticker write with its time.
async function openPage(
    t,
    {
        site = "/",
        viewport = { width: 1024, height: 768 },
        scale = 1,
        at = origin,
        context = null,
        label = site, // whose console problems these are
    } = {},
) {
    const ownContext = !context;
    if (ownContext) {
        context = await browser.createBrowserContext();
        t.after(() => context.close());
    }
    const page = await context.newPage();
    if (!ownContext) {
        t.after(() => page.close());
    }
    await page.setViewport({ ...viewport, deviceScaleFactor: scale });
    page.on("console", (message) => {
        if (message.type() === "error" || message.type() === "warn") {
            consoleProblems.push({ site: label, text: message.text() });
        }
    });
    page.on("pageerror", (error) => consoleProblems.push({ site: label, text: String(error) }));
    await page.evaluateOnNewDocument(recordTickerWrites, "Text2(0)");
    await page.goto(at + site);
    await page.waitForFunction(
        () => window.tickerWrites.length > 0 && document.fonts.status === "loaded",
    );
    return page;
}

const selector = (name) => `[id="${name}"]`;
const writesSince = (page, index) => page.evaluate((i) => window.tickerWrites.slice(i), index);
const writeCount = (page) => page.evaluate(() => window.tickerWrites.length);

async function waitForWrites(page, count, timeoutMs = 5000) {
    // Polled on a timer: a page that was frozen stays hidden, and hidden pages get no frames.
    await page.waitForFunction(
        (n) => window.tickerWrites.length >= n,
        { timeout: timeoutMs, polling: 50 },
        count,
    );
}

// The lit pair: the one visible lamp of each row.
const litLamps = (page) =>
    page.evaluate(() =>
        [...document.querySelectorAll("canvas")].filter((c) => !c.hidden).map((c) => c.id),
    );

test("loads as designed: title, language, list boxes, place, fonts", async (t) => {
    const page = await openPage(t);
    assert.equal(await page.title(), caption);
    assert.equal(await page.$eval("html", (html) => html.lang), "bg");
    const state = await page.evaluate(() => {
        const byId = (id) => document.getElementById(id);
        return {
            sizes: ["List1(0)", "List1(1)"].map((id) => byId(id).size),
            quotationHidden: byId("Text1(1)").hidden,
            statementBackground: getComputedStyle(byId("Text1(0)")).backgroundColor,
            box: byId("Lumora").getBoundingClientRect().toJSON(),
            regular: document.fonts.check('16px "Lumora Serif"'),
            boldItalic: document.fonts.check('italic bold 16px "Lumora Serif"'),
        };
    });
    assert.ok(state.sizes.every((size) => size >= 2), "list boxes, not drop-downs");
    assert.ok(state.quotationHidden);
    assert.equal(state.statementBackground, "rgb(255, 255, 255)", "white, as on every screen");
    assert.deepEqual([state.box.width, state.box.height], [466, 352]);
    assert.equal(state.box.left, (1024 - 466) / 2, "centred");
    assert.ok(state.regular && state.boldItalic, "the page's own fonts");
});

test("the lit pair and its dots, read from a screenshot's pixels", async (t) => {
    const page = await openPage(t);
    await waitForWrites(page, 3);
    await page.click(selector("Option1(1)")); // stop, so that the screenshot shows one state
    const lit = await litLamps(page);
    assert.equal(lit.length, 2);
    const step = Number(lit[0].match(/\((\d)\)/)[1]);
    assert.deepEqual(lit.sort(), [`Picture1(${step})`, `Picture2(${step})`]);

    const png = await (await page.$("#Lumora")).screenshot({ encoding: "base64" });
    // Decoded in the page: the colour at each lamp's dot (63.75, 64 twips from its corner) and at
    // its far corner.
    const pixels = await page.evaluate(async (base64) => {
        const image = await createImageBitmap(
            new Blob([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))]),
        );
        const canvas = new OffscreenCanvas(image.width, image.height);
        const context = canvas.getContext("2d");
        context.drawImage(image, 0, 0);
        const { data } = context.getImageData(0, 0, image.width, image.height);
        const at = (x, y) => {
            const i = 4 * (Math.floor(y) * image.width + Math.floor(x));
            return (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
        };
        const result = {};
        for (let k = 0; k < 8; ++k) {
            for (const row of ["Picture1", "Picture2"]) {
                // Placed in the window's own pixels, shown or not.
                const box = document.getElementById(`${row}(${k})`);
                const x = parseFloat(getComputedStyle(box).left);
                const y = parseFloat(getComputedStyle(box).top);
                result[`${row}(${k})`] = { dot: at(x + 63.75 / 15, y + 64 / 15), corner: at(x + 15, y + 15) };
            }
        }
        return result;
    }, png);

    for (let k = 0; k < 8; ++k) {
        for (const [row, colour] of [["Picture1", lampColours[k]], ["Picture2", lampColours[7 - k]]]) {
            const { dot, corner } = pixels[`${row}(${k})`];
            const expected = k === step ? colour : windowColour;
            assert.equal(dot.toString(16), expected.toString(16), `${row}(${k}) dot`);
            assert.equal(corner.toString(16), windowColour.toString(16), `${row}(${k}) corner`);
        }
    }
});

test("Chromium's accessibility tree names every control as on the desktop", async (t) => {
    const page = await openPage(t);
    await waitForWrites(page, 3); // a pair of lamps is lit
    const session = await page.createCDPSession();
    const { nodes } = await session.send("Accessibility.getFullAXTree");
    const named = new Set(
        nodes.filter((n) => !n.ignored).map((n) => `${n.role?.value}: ${n.name?.value ?? ""}`),
    );
    for (const expected of [
        `main: ${caption}`,
        "textbox: Условие на задачата",
        "textbox: Текст на рекламата",
        "listbox: Брой",
        "listbox: Рекламно послание",
        "group: Управление",
        "radio: Пусни",
        "radio: Спри",
        "image: Светлина над текста",
        "image: Светлина под текста",
    ]) {
        assert.ok(named.has(expected), `${expected} in ${[...named].join(" | ")}`);
    }
    assert.ok(![...named].some((n) => n.endsWith(": Цитат")), "the hidden quotation is not there");
});

test("a run-time error: a modal dialog, the timers stopped, the controls disabled", async (t) => {
    const problems = consoleProblems.length;
    const page = await openPage(t, { site: "/failing/" });
    await page.waitForSelector("dialog[open]", { timeout: 5000 });
    const dialog = await page.$eval("dialog[open]", (d) => ({ text: d.innerText, modal: d.matches(":modal") }));
    assert.match(dialog.text, /Грешка при изпълнение 6: Препълване \(overflow\)/);
    assert.match(dialog.text, /Програмата ще бъде затворена\./);
    assert.ok(dialog.modal);
    for (const name of ["List1(0)", "List1(1)", "Option1(0)", "Option1(1)", "Text2(0)"]) {
        assert.ok(await page.$eval(selector(name), (e) => e.matches(":disabled")), `${name} disabled`);
    }
    await page.click("dialog[open] button");
    assert.equal(await page.$("dialog[open]"), null);
    // The report, once, and nothing else.
    const reported = consoleProblems.splice(problems).map((p) => p.text);
    assert.deepEqual(reported, ["lumora: Грешка при изпълнение 6: Препълване (overflow)"]);
});

test("a frozen page resumes at its next tick, without a burst of the ticks it missed", async (t) => {
    const page = await openPage(t);
    await waitForWrites(page, 3);
    const session = await page.createCDPSession();
    const before = (await writeCount(page)) - 1; // the last tick before the freeze
    await session.send("Page.setWebLifecycleState", { state: "frozen" });
    await sleep(2000);
    await session.send("Page.setWebLifecycleState", { state: "active" });
    await waitForWrites(page, before + 5);
    const writes = await writesSince(page, before);
    const gap = writes.findIndex((w, i) => i > 0 && w.at - writes[i - 1].at > 1500);
    assert.ok(gap > 0, "the freeze made a gap");
    // After the gap, ticks come a tick apart again, never in a burst.
    for (let i = gap + 1; i < writes.length; ++i) {
        assert.ok(writes[i].at - writes[i - 1].at > tickMs / 2, `ticks ${i - 1} and ${i}`);
    }
});

test("on a phone's narrow screen the whole window scales down to fit; canvases are crisp", async (t) => {
    const page = await openPage(t, { viewport: { width: 360, height: 640 }, scale: 2 });
    const fit = await page.evaluate(() => ({
        box: document.getElementById("Lumora").getBoundingClientRect().toJSON(),
        scrollWidth: document.scrollingElement.scrollWidth,
        backing: document.getElementById("Picture1(0)").width,
    }));
    assert.ok(Math.abs(fit.box.width - 360) <= 1, `width ${fit.box.width}`);
    assert.ok(Math.abs(fit.box.height - (352 * 360) / 466) <= 1, `height ${fit.box.height}`);
    assert.ok(fit.scrollWidth <= 360, "no sideways scrolling");
    assert.equal(fit.backing, 34, "two device pixels to a CSS pixel");
});

test("zoomed to 200 %, the lamps are drawn again in the new device pixels", async (t) => {
    const page = await openPage(t);
    await waitForWrites(page, 3);
    await page.click(selector("Option1(1)")); // stop, so that one pair stays lit
    const [lamp] = await litLamps(page);
    // As the browser's zoom does it: half the CSS pixels across, each of two device pixels.
    await page.setViewport({ width: 512, height: 384, deviceScaleFactor: 2 });
    await page.waitForFunction((id) => document.getElementById(id).width === 34, {}, lamp);
    // The dot, 10 CSS pixels across, in whole device pixels of its colour: about 20 x 20 x pi/4
    // of them drawn anew, not one CSS pixel's worth scaled up, nor none.
    const solid = await page.evaluate((id) => {
        const canvas = document.getElementById(id);
        const { data } = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height);
        let count = 0;
        for (let i = 3; i < data.length; i += 4) {
            count += data[i] === 255 ? 1 : 0;
        }
        return count;
    }, lamp);
    assert.ok(solid > 250 && solid < 340, `${solid} solid device pixels`);
});

// A site of its own on a server of its own, that the test can change and take down.
async function servedCopy(t, site) {
    const folder = await mkdtemp(path.join(os.tmpdir(), "lumora-site-"));
    t.after(() => rm(folder, { recursive: true, force: true }));
    await cp(site, folder, { recursive: true });
    const copy = await serve({ "/": folder });
    t.after(() => copy.close());
    return { folder, ...copy };
}

const keptFiles = (page) =>
    page.evaluate(async () => {
        const names = await caches.keys();
        const kept = {};
        for (const name of names) {
            kept[name] = (await (await caches.open(name)).keys()).map((r) => new URL(r.url).pathname);
        }
        return kept;
    });

test("installable, it opens again and ticks with no network", async (t) => {
    const site = await servedCopy(t, process.env.LUMORA_SITE);
    // Not a private window: there nothing is installable. The site's origin is its own.
    const context = browser.defaultBrowserContext();
    const page = await openPage(t, { at: site.origin, context });
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 10000 });
    const session = await page.createCDPSession();
    const { installabilityErrors } = await session.send("Page.getInstallabilityErrors");
    assert.deepEqual(installabilityErrors, []);
    const manifest = JSON.parse(await readFile(path.join(site.folder, "lumora.webmanifest"), "utf8"));
    assert.equal(manifest.lang, "bg");
    assert.equal(manifest.background_color, `#${windowColour.toString(16)}`);

    await site.close();
    const offline = await openPage(t, { at: site.origin, context });
    await waitForWrites(offline, 3);
    assert.equal(await offline.title(), caption);
});

test("a new build replaces the kept site whole", async (t) => {
    const site = await servedCopy(t, process.env.LUMORA_SITE);
    const context = browser.defaultBrowserContext();
    const page = await openPage(t, { at: site.origin, context, label: "a new build" });
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 10000 });
    const [oldCache] = Object.keys(await keptFiles(page));

    // The failing program's site stands for the next build: another program, its own names.
    await rm(site.folder, { recursive: true });
    await cp(process.env.LUMORA_FAILING_SITE, site.folder, { recursive: true });
    const newScript = (await readFile(path.join(site.folder, "index.html"), "utf8")).match(
        /"(lumora\.[0-9a-f]+\.js)"/,
    )[1];
    const oldScript = await page.evaluate(() => document.querySelector("script[src]").getAttribute("src"));
    for (let reload = 0; reload < 2; ++reload) {
        await page.reload();
    }
    await page.waitForFunction(
        async (old) => !(await caches.keys()).includes(old) && (await caches.keys()).length === 1,
        { timeout: 10000 },
        oldCache,
    );
    await page.waitForSelector("dialog[open]", { timeout: 5000 }); // the new program runs
    assert.equal(await page.evaluate(() => document.querySelector("script[src]").getAttribute("src")), newScript);
    const [files] = Object.values(await keptFiles(page));
    assert.ok(files.includes(`/${newScript}`), `${newScript} kept`);
    assert.ok(!files.includes(`/${oldScript}`), `${oldScript} gone`);
});

test("two builds at two paths of one origin both open offline, and another app's cache stays", async (t) => {
    const shared = await serve({ "/a/": process.env.LUMORA_SITE, "/b/": process.env.LUMORA_FAILING_SITE });
    t.after(() => shared.close());
    const context = browser.defaultBrowserContext();
    const other = await context.newPage();
    t.after(() => other.close());
    await other.goto(shared.origin + "/a/LICENSE.txt"); // a page of the origin with no worker
    await other.evaluate(async () => (await caches.open("other-app-v1")).put("/other-app/", new Response("kept")));
    for (const site of ["/a/", "/b/"]) {
        const page = await openPage(t, { at: shared.origin, site, context, label: "shared origin" });
        await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 10000 });
    }

    await shared.close();
    const a = await openPage(t, { at: shared.origin, site: "/a/", context, label: "shared origin" });
    await waitForWrites(a, 3);
    const b = await openPage(t, { at: shared.origin, site: "/b/", context, label: "shared origin" });
    assert.equal(await b.title(), caption);
    assert.ok((await a.evaluate(() => caches.keys())).includes("other-app-v1"));
});

test("a page with no window for the program: a clear report, and nothing else runs", async (t) => {
    const site = await servedCopy(t, process.env.LUMORA_SITE);
    const index = path.join(site.folder, "index.html");
    await writeFile(index, (await readFile(index, "utf8")).replace(/<main[^]*<\/main>/, ""));
    const context = await browser.createBrowserContext();
    t.after(() => context.close());
    const page = await context.newPage();
    const reported = [];
    page.on("console", (message) => reported.push(message.text()));
    page.on("pageerror", (error) => reported.push(String(error)));
    await page.goto(site.origin + "/");
    for (const deadline = Date.now() + 5000; !reported.length && Date.now() < deadline;) {
        await sleep(50);
    }
    assert.equal(reported[0], 'Lumora: the page has no element "Lumora"; its index.html is not this build\'s');
    assert.equal(await page.$("canvas, select"), null);
});

test("Chromium's console has no error or warning from the page", () => {
    assert.deepEqual(consoleProblems.filter((p) => p.site === "/"), []);
});
