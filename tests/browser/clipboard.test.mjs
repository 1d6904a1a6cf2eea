// Copy, cut and paste through the system clipboard as tab-separated text.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";
import { drag, goTo, gridShows, openPage } from "./support.mjs";

let opened;
before(async () => (opened = await openPage({ width: 1366, height: 768 })));
after(async () => opened?.close());

const ctrl = async (page, key) => {
  await page.keyboard.down("Control");
  await page.keyboard.press(key);
  await page.keyboard.up("Control");
};
const clipboardText = (page) => page.evaluate(() => navigator.clipboard.readText());
// The status bar's text once it reads so, polled by time: while headless Chromium reads the
// clipboard for the page, its animation frames may stop coming.
const statusBecomes = (page, text) =>
  page.waitForFunction((t) => document.getElementById("status").textContent === t, { polling: 100, timeout: 15000 }, text);

test("Ctrl+C puts the selection on the clipboard as tab-separated rows of the cells as shown", async () => {
  const { page } = opened;
  await drag(page, "A1", "D3");
  await ctrl(page, "c");
  await statusBecomes(page, "已复制到剪贴板");
  assert.equal(await clipboardText(page), "Region\tProduct\tMonth\tUnits\r\nNorth\tTea\t1\t21\r\nSouth\tTea\t1\t26\r\n");
});

test("Ctrl+V writes the clipboard's text from the active cell, each cell as typed, and selects it", async () => {
  const { page } = opened;
  await page.evaluate(() => navigator.clipboard.writeText('12.5\t=H1*2\r\n"两行\n文字"\t\'007\r\n'));
  await goTo(page, "H1");
  await ctrl(page, "v");
  await statusBecomes(page, "已粘贴");
  const expected = { H1: "12.5", I1: "25", H2: "两行\n文字", I2: "007" };
  assert.deepEqual(await gridShows(page, expected), expected);
  assert.equal(await page.$eval("#namebox", (el) => el.value), "H1:I2");
});

test("Ctrl+X copies the selection and clears it; Ctrl+Z brings it back", async () => {
  const { page } = opened;
  await ctrl(page, "x");
  await statusBecomes(page, "已剪切到剪贴板");
  assert.equal(await clipboardText(page), '12.5\t25\r\n"两行\n文字"\t007\r\n');
  assert.deepEqual(await gridShows(page, { H1: "", I2: "" }), { H1: "", I2: "" });
  await ctrl(page, "z");
  assert.deepEqual(await gridShows(page, { H1: "12.5", I2: "007" }), { H1: "12.5", I2: "007" });
});

test("the right-click menu of a cell copies, clears and opens the tools", async () => {
  const { page } = opened;
  await goTo(page, "D2");
  const cell = await (await page.$('[data-cell="D2"]')).boundingBox();
  await page.mouse.click(cell.x + 10, cell.y + 5, { button: "right" });
  const captions = await page.$$eval(".context-menu .menu-item", (items) => items.map((i) => i.dataset.caption));
  assert.deepEqual(captions.slice(0, 4), ["剪切", "复制", "粘贴", "清除内容"]);
  assert.ok(captions.includes("汇总与查找") && captions.includes("表格转清单"), captions.join(","));
  await page.click('.context-menu .menu-item[data-caption="复制"]');
  await statusBecomes(page, "已复制到剪贴板");
  assert.equal(await clipboardText(page), "21\r\n");
  await page.mouse.click(cell.x + 10, cell.y + 5, { button: "right" });
  await page.click('.context-menu .menu-item[data-caption="汇总与查找"]');
  await page.waitForSelector(".tool-dialog");
  await page.keyboard.press("Escape");
});
