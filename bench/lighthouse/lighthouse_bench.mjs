// Lighthouse's audit of the page as a phone on a slow network would load it (its mobile setting:
// a CPU slowed four times, simulated throttling), in Debian's Chromium: three runs, the median of
// each figure. Writes the figures as JSON for bench/report.py.
//   node bench/lighthouse/lighthouse_bench.mjs SITE_FOLDER OUTPUT_JSON

import { writeFileSync } from "node:fs";
import * as chromeLauncher from "chrome-launcher";
import lighthouse from "lighthouse";
import { serve } from "../../tests/web/page_support.mjs";

const [site, output] = process.argv.slice(2);
const runs = 3;

const server = await serve({ "/": site });
const chrome = await chromeLauncher.launch({
    chromePath: "/usr/bin/chromium",
    chromeFlags: ["--headless=new", "--no-sandbox", "--disable-gpu"],
});
const reports = [];
try {
    for (let run = 0; run < runs; ++run) {
        const { lhr } = await lighthouse(server.origin + "/", {
            port: chrome.port,
            logLevel: "error",
            formFactor: "mobile",
        });
        reports.push(lhr);
    }
} finally {
    await chrome.kill();
    await server.close();
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const score = (category) => median(reports.map((lhr) => lhr.categories[category].score * 100));
const audit = (id) => median(reports.map((lhr) => lhr.audits[id].numericValue));
const all = (values) => `runs ${values.map((v) => Math.round(v)).join(", ")}`;

const figures = [
    ["Lighthouse mobile: performance", score("performance"), ">= 99", (v) => v >= 99],
    ["Lighthouse mobile: accessibility", score("accessibility"), "100", (v) => v === 100],
    ["Lighthouse mobile: best practices", score("best-practices"), "100", (v) => v === 100],
    ["Lighthouse mobile: SEO", score("seo"), "100", (v) => v === 100],
    ["Lighthouse mobile: total blocking, ms", audit("total-blocking-time"), "<= 50", (v) => v <= 50,
        all(reports.map((lhr) => lhr.audits["total-blocking-time"].numericValue))],
    ["Lighthouse mobile: first contentful paint, ms", audit("first-contentful-paint"), "reported",
        () => true],
    ["Lighthouse mobile: largest contentful paint, ms", audit("largest-contentful-paint"), "reported",
        () => true],
].map(([name, value, target, holds, note = `median of ${runs} runs`]) => ({
    name, value, target, holds: holds(value), note,
}));
for (const { name, value, target } of figures) {
    console.log(`${name.padEnd(48)} ${value.toFixed(1).padStart(8)}  ${target}`);
}
writeFileSync(output, JSON.stringify(figures, null, 2) + "\n");
