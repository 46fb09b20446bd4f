// The web page's figures, in Debian's Chromium, and for cadence also in Firefox ESR and WebKitGTK
// (whose MiniBrowser needs an X display: script/bench gives it a virtual one), on this machine:
//   node bench/web_bench.mjs SITE_FOLDER [OUTPUT_JSON] [CADENCE_SECONDS]
// start-up: navigation to the first ticker text on screen, Lumora against the minimal page in
//           bench/minimal_page, alternating, 15 rounds each, each in a fresh browser context; and
//           beside it, navigation to the first tick that moves the ticker
// cadence:  CADENCE_SECONDS (60) of ticks in each engine: mean period, p99 deviation from 200 ms,
//           drift of the rhythm, and the one tick farthest from it
// size:     the whole site, as it is and compressed with gzip
// Prints a table and writes the figures as JSON (build/web/bench.json unless given).

import { spawn } from "node:child_process";
import { mkdtempSync, readdirSync, readFileSync, rmSync, symlinkSync, writeFileSync } from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { gzipSync } from "node:zlib";

const here = path.dirname(fileURLToPath(import.meta.url));
// The driver is the one the page's tests pin.
const { launchChromium, launchEngine, recordTickerWrites } = await import(
    path.join(here, "../tests/web/page_support.mjs")
);

const [site, output = path.join(here, "../build/web/bench.json"), cadenceSeconds = "60"] =
    process.argv.slice(2);
if (!site) {
    console.error("usage: node bench/web_bench.mjs SITE_FOLDER [OUTPUT_JSON] [CADENCE_SECONDS]");
    process.exit(2);
}
const rounds = 15;
const tickMs = 200;

const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const spread = (values) => [Math.min(...values), Math.max(...values)];

// For evaluateOnNewDocument: the time of the first frame that shows the ticker with its text,
// in window.firstText (milliseconds from the start of the navigation). Shown: laid out, and
// neither it nor a box round it hidden or transparent.
function watchFirstText(id) {
    const check = () => {
        const ticker = document.getElementById(id);
        const shown = ticker?.checkVisibility({ opacityProperty: true, visibilityProperty: true });
        if (ticker?.value && shown && document.fonts.status === "loaded") {
            window.firstText = performance.now();
        } else {
            requestAnimationFrame(check);
        }
    };
    requestAnimationFrame(check);
}

// Milliseconds from the start of the navigation to the first ticker text on screen, and to the
// first tick's write (the page's own first write shows its first text).
async function startUp(browser, url, tickerId) {
    const context = await browser.createBrowserContext();
    try {
        const page = await context.newPage();
        await page.evaluateOnNewDocument(watchFirstText, tickerId);
        await page.evaluateOnNewDocument(recordTickerWrites, tickerId);
        await page.goto(url);
        await page.waitForFunction(
            () => window.firstText !== undefined && window.tickerWrites.length >= 2, { polling: 10 });
        return await page.evaluate(() => ({
            firstText: window.firstText,
            firstMove: window.tickerWrites[1].at,
        }));
    } finally {
        await context.close();
    }
}

async function cadence(engine, url) {
    const browser = await launchEngine(engine);
    try {
        const page = await browser.newPage();
        await page.goto(url);
        // Recorded from a second after the page's load, when its start-up (its service worker's
        // caching, the engine's own work after a load) is over: the ticks of a page at rest.
        await new Promise((resolve) => setTimeout(resolve, 1000));
        await page.evaluate(recordTickerWrites, "Text2(0)");
        await new Promise((resolve) => setTimeout(resolve, Number(cadenceSeconds) * 1000 + 500));
        const times = await page.evaluate(() => window.tickerWrites.map((w) => w.at));
        const periods = times.slice(1).map((t, i) => t - times[i]);
        const deviations = periods.map((p) => Math.abs(p - tickMs)).sort((a, b) => a - b);
        // Each tick against a rhythm of exact periods from the first: the rhythm drifts when the
        // ticks of the last ten seconds sit elsewhere on it than those of the first ten, while a
        // single late tick is the engine's jitter, which the next tick does not inherit.
        const offsets = times.map((t, n) => t - times[0] - n * tickMs);
        const tenSeconds = 10000 / tickMs;
        const start = median(offsets.slice(0, tenSeconds));
        return {
            ticks: times.length,
            meanPeriodMs: periods.reduce((a, b) => a + b, 0) / periods.length,
            p99DeviationMs: deviations[Math.floor(0.99 * (deviations.length - 1))],
            driftMs: Math.abs(median(offsets.slice(-tenSeconds)) - start),
            latestMs: Math.max(...offsets.map((offset) => Math.abs(offset - start))),
        };
    } finally {
        await browser.close();
    }
}

function siteSize() {
    const files = readdirSync(site).map((name) => readFileSync(path.join(site, name)));
    return {
        bytes: files.reduce((sum, f) => sum + f.length, 0),
        gzipBytes: files.reduce((sum, f) => sum + gzipSync(f, { level: 9 }).length, 0),
    };
}

// Both pages from one server in a process of its own, as script/web serves the site, so that the
// driver's own work never holds up a response.
async function serveApart() {
    const root = mkdtempSync(path.join(os.tmpdir(), "lumora-bench-"));
    symlinkSync(path.resolve(site), path.join(root, "site"));
    symlinkSync(path.join(here, "minimal_page"), path.join(root, "minimal"));
    const server = spawn("python3", ["-u", "-m", "http.server", "0", "--bind", "127.0.0.1",
                                     "--directory", root], { stdio: ["ignore", "pipe", "ignore"] });
    // Its first line names the port, in one piece or several.
    const port = await new Promise((resolve, reject) => {
        let printed = "";
        server.stdout.on("data", (chunk) => {
            printed += chunk;
            const port = printed.match(/port (\d+)/);
            if (port) {
                resolve(port[1]);
            }
        });
        server.on("exit", () => reject(new Error("the server did not start")));
    });
    return {
        origin: `http://127.0.0.1:${port}`,
        close: () => {
            server.kill();
            rmSync(root, { recursive: true });
        },
    };
}

// Lumora's start-up and the minimal page's, alternating rounds in one Chromium.
async function startUps() {
    const browser = await launchChromium();
    try {
        const lumora = [];
        const minimal = [];
        for (let round = 0; round < rounds; ++round) {
            lumora.push(await startUp(browser, server.origin + "/site/", "Text2(0)"));
            minimal.push(await startUp(browser, server.origin + "/minimal/", "ticker"));
        }
        return { lumora, minimal };
    } finally {
        await browser.close();
    }
}

const server = await serveApart();
try {
    const { lumora, minimal } = await startUps();
    const ratios = lumora.map((l, i) => l.firstText / minimal[i].firstText);
    const moves = (runs) => median(runs.map((run) => run.firstMove));
    const cadences = [];
    for (const engine of ["chromium", "firefox", "webkit"]) {
        const ticks = await cadence(engine, server.origin + "/site/");
        cadences.push(
            [`cadence in ${engine}: mean period, ms`, ticks.meanPeriodMs, "200 +- 0.5",
             Math.abs(ticks.meanPeriodMs - tickMs) <= 0.5, `${ticks.ticks} ticks`],
            [`cadence in ${engine}: p99 deviation, ms`, ticks.p99DeviationMs, "reported", true, ""],
            [`cadence in ${engine}: drift, ms`, ticks.driftMs, "<= 5", ticks.driftMs <= 5,
             "the last ten seconds' ticks against the first ten's"],
            [`cadence in ${engine}: farthest tick, ms`, ticks.latestMs, "reported", true,
             "from the rhythm of the first ten seconds"],
        );
    }
    const size = siteSize();

    const figures = [
        ["start-up, ratio to the minimal page", median(ratios), "<= 1.5", median(ratios) <= 1.5,
         `Lumora ${median(lumora.map((l) => l.firstText)).toFixed(1)} ms, minimal ` +
         `${median(minimal.map((m) => m.firstText)).toFixed(1)} ms; ` +
         `ratios ${spread(ratios).map((r) => r.toFixed(2)).join(" to ")}`],
        ["start-up: first moving tick, ms", moves(lumora), "reported", true,
         `minimal ${moves(minimal).toFixed(1)} ms`],
        ...cadences,
        ["site, KB", size.bytes / 1024, "<= 400", size.bytes <= 400 * 1024, ""],
        ["site gzip-compressed, KB", size.gzipBytes / 1024, "<= 150", size.gzipBytes <= 150 * 1024, ""],
    ];
    for (const [name, value, target, holds, note] of figures) {
        console.log(`${name.padEnd(42)} ${value.toFixed(2).padStart(8)}  ${target.padEnd(11)} ` +
                    `${holds ? "holds" : "MISSES"}  ${note}`);
    }
    writeFileSync(output, JSON.stringify(
        figures.map(([name, value, target, holds, note]) => ({ name, value, target, holds, note })),
        null, 2) + "\n");
    console.log(`written to ${output}`);
} finally {
    await server.close();
}
