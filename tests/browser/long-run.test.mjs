// A long run: its progress shows, the page reads the workbook meanwhile, a change is refused at
// once with a note, and Cancel stops it and leaves the workbook as it was.
import assert from "node:assert/strict";
import path from "node:path";
import { after, before, test } from "node:test";
import { artefacts, gridShows, menu, openPage, pick, start, until } from "./support.mjs";

let opened;
// Every step of a run takes a second more: a run of the example (ten steps) lasts long enough to
// watch and cancel.
before(async () => (opened = await openPage({ width: 1920, height: 1080, stepPause: 1000 })));
after(async () => opened?.close());

const statusText = (page) => page.$eval("#status", (el) => el.textContent);

async function startSummary(page) {
  await menu(page, "汇总与查找");
  await pick(page, "RefEdit1", "A1", "E121");
  await pick(page, "RefEdit2", "A1", "B1");
  await pick(page, "RefEdit3", "D1", "E1");
  await pick(page, "RefEdit4", "H1");
  await start(page);
  await until(page, () => /已用 \d+ 秒/.test(document.getElementById("status").textContent));
}

test("a run of more than a second shows its time and a progress bar with Cancel", async () => {
  const { page } = opened;
  await startSummary(page);
  assert.ok(await page.$eval("#progress", (el) => !el.hidden && el.querySelector("progress") !== null));
  await page.screenshot({ path: path.join(artefacts, "long-run-1920.png") });
});

test("during the run another sheet's cells show on a tab click, and Save is refused at once with a note", async () => {
  const { page } = opened;
  await page.click('xpath/.//button[contains(@class,"sheet-tab") and text()="Cross"]');
  const cross = { A2: "North", B1: "Tea" };
  assert.deepEqual(await gridShows(page, cross), cross);
  await page.keyboard.down("Control");
  await page.keyboard.press("s");
  await page.keyboard.up("Control");
  await until(page, () => /另一个操作正在进行/.test(document.getElementById("note").textContent));
  assert.equal(await page.$$eval(".message-box", (boxes) => boxes.length), 0);
});

test("Cancel stops the run, leaves the workbook as it was and keeps the dialog", async () => {
  const { page } = opened;
  await page.click("#cancel-run");
  await until(page, () => document.getElementById("status").textContent === "运行已取消，工作簿已恢复原样");
  assert.equal(await page.$eval("#progress", (el) => el.hidden), true);
  assert.deepEqual(await gridShows(page, { H1: "" }), { H1: "" });
  assert.ok(await page.$(".tool-dialog"));
  assert.equal(await page.$eval("#note", (el) => el.textContent), "");
  assert.notEqual(await statusText(page), "");
});
