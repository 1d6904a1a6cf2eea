// Scrolling a list of 65,535 rows: the frame times are measured and reported, not asserted (a
// shared machine's timings are no test); what is asserted is that the cells come as it scrolls.
import assert from "node:assert/strict";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";
import { artefacts, goTo, openPage, until } from "./support.mjs";

let opened;
let list;
before(async () => {
  list = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "tavrin-long-")), "长清单.csv");
  const rows = ["Region,Product,Month,Units,Amount"];
  for (let i = 1; i <= 65535; i++) rows.push(`R${i % 97},P${i % 31},${(i % 12) + 1},${i % 50},${(i * 7) % 1000}.5`);
  fs.writeFileSync(list, rows.join("\n") + "\n");
  opened = await openPage({ workbook: list, width: 1366, height: 768 });
});
after(async () => {
  await opened?.close();
  fs.rmSync(path.dirname(list), { recursive: true, force: true });
});

// Scrolls down by `step` pixels a frame for `frames` frames: the times between frames, and the
// page's own long tasks (over 50 ms of work on its main thread), in ms. A slow frame without a
// long task is the machine's, not the page's.
const scrollFrames = (page, step, frames) => page.evaluate((step, frames) => new Promise((resolve) => {
  const viewport = document.querySelector(".viewport");
  const times = [];
  const tasks = [];
  const observer = new PerformanceObserver((list) => tasks.push(...list.getEntries().map((e) => e.duration)));
  observer.observe({ type: "longtask" });
  let last = performance.now();
  const frame = (now) => {
    times.push(now - last);
    last = now;
    if (times.length > frames) {
      observer.disconnect();
      return resolve({ times: times.slice(1), tasks });
    }
    viewport.scrollTop += step;
    requestAnimationFrame(frame);
  };
  requestAnimationFrame(frame);
}), step, frames);

test("scrolling 65,535 rows: frame times reported; the rows scrolled to show their cells", async (t) => {
  const { page } = opened;
  const { times, tasks } = await scrollFrames(page, 120, 600);
  const sorted = [...times].sort((a, b) => a - b);
  const report = {
    frames: times.length,
    mean: +(times.reduce((a, b) => a + b, 0) / times.length).toFixed(1),
    p95: +sorted[Math.floor(sorted.length * 0.95)].toFixed(1),
    max: +sorted.at(-1).toFixed(1),
    over50ms: times.filter((x) => x > 50).length,
    longTasks: tasks.length,
    longestTask: +Math.max(0, ...tasks).toFixed(1),
  };
  t.diagnostic(`frame times (ms): ${JSON.stringify(report)}`);
  fs.writeFileSync(path.join(artefacts, "scroll-frame-times.json"), JSON.stringify(report, null, 2));
  const shown = await page.evaluate(() => {
    const header = document.querySelector(".columns").getBoundingClientRect().bottom;
    const rows = [...document.querySelectorAll(".rh")].filter((el) => el.getBoundingClientRect().top >= header);
    return Math.min(...rows.map((el) => Number(el.dataset.r)));
  });
  assert.ok(shown > 1000, `the view moved down (row ${shown})`);
  // The cells of the rows scrolled to come without another gesture.
  await until(page, (r) => /^R/.test(document.querySelector(`[data-cell="A${r}"]`)?.textContent ?? ""), shown);
  await goTo(page, "A65536");
  await until(page, () => document.querySelector('[data-cell="E65536"]')?.textContent === "745.5");
  assert.equal(await page.$eval('[data-cell="A65536"]', (el) => el.textContent), "R60");
  await page.screenshot({ path: path.join(artefacts, "long-list-end-1366.png") });
});
