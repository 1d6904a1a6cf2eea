// Copy, cut and paste through the system clipboard as tab-separated text; a cut moves its cells
// on the paste that follows.
import assert from "node:assert/strict";
import path from "node:path";
import { after, before, test } from "node:test";
import { artefacts, drag, goTo, gridShows, openPage } from "./support.mjs";

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

const cutMarks = (page) => page.$$eval(".cells .cut-mark", (marks) => marks.length);
const formulaAt = async (page, address) => {
  await goTo(page, address);
  return page.$eval("#formula", (el) => el.textContent);
};

test("Ctrl+X marks the cells and changes nothing; Ctrl+V moves them, formulas that read them follow, Ctrl+Z puts all back", async () => {
  const { page } = opened;
  await goTo(page, "K1");
  await page.keyboard.type("=H1+1\n");
  await goTo(page, "H1:I2");
  await ctrl(page, "x");
  await statusBecomes(page, "已剪切：选定目标区域，然后粘贴");
  assert.equal(await clipboardText(page), '12.5\t25\r\n"两行\n文字"\t007\r\n');
  assert.equal(await cutMarks(page), 1);
  assert.deepEqual(await gridShows(page, { H1: "12.5", I2: "007", K1: "13.5" }), { H1: "12.5", I2: "007", K1: "13.5" });
  await page.screenshot({ path: path.join(artefacts, "cut-mark-1366.png") });
  await goTo(page, "H5");
  await ctrl(page, "v");
  await statusBecomes(page, "已移动");
  assert.equal(await page.$eval("#namebox", (el) => el.value), "H5:I6");
  assert.equal(await cutMarks(page), 0);
  const moved = { H1: "", I2: "", H5: "12.5", I5: "25", I6: "007", K1: "13.5" };
  assert.deepEqual(await gridShows(page, moved), moved);
  assert.equal(await formulaAt(page, "K1"), "=H5+1");
  assert.equal(await formulaAt(page, "I5"), "=H5*2");
  // The mark is gone: a second paste writes the clipboard's text.
  await goTo(page, "M1");
  await ctrl(page, "v");
  await statusBecomes(page, "已粘贴");
  assert.deepEqual(await gridShows(page, { M1: "12.5", H5: "12.5" }), { M1: "12.5", H5: "12.5" });
  await ctrl(page, "z");
  await ctrl(page, "z");
  const back = { H1: "12.5", I2: "007", H5: "", M1: "" };
  assert.deepEqual(await gridShows(page, back), back);
  assert.equal(await formulaAt(page, "K1"), "=H1+1");
  // Enter while the cells are marked moves them too.
  await goTo(page, "H1");
  await ctrl(page, "x");
  await statusBecomes(page, "已剪切：选定目标区域，然后粘贴");
  await goTo(page, "N1");
  await page.keyboard.press("Enter");
  await statusBecomes(page, "已移动");
  assert.deepEqual(await gridShows(page, { H1: "", N1: "12.5", K1: "13.5" }), { H1: "", N1: "12.5", K1: "13.5" });
  await ctrl(page, "z");
  assert.deepEqual(await gridShows(page, { H1: "12.5", N1: "" }), { H1: "12.5", N1: "" });
});

test("Esc, an edit, a copy or text copied elsewhere ends a cut: a paste then writes the text as typed", async () => {
  const { page } = opened;
  await goTo(page, "H1");
  const cell = await (await page.$('[data-cell="H1"]')).boundingBox();
  await page.mouse.click(cell.x + 10, cell.y + 5, { button: "right" });
  await page.click('.context-menu .menu-item[data-caption="剪切"]');
  await statusBecomes(page, "已剪切：选定目标区域，然后粘贴");
  assert.equal(await cutMarks(page), 1);
  await page.keyboard.press("Escape");
  assert.equal(await cutMarks(page), 0);
  await goTo(page, "J1");
  await ctrl(page, "v");
  await statusBecomes(page, "已粘贴");
  assert.deepEqual(await gridShows(page, { H1: "12.5", J1: "12.5" }), { H1: "12.5", J1: "12.5" });
  await ctrl(page, "x");
  await statusBecomes(page, "已剪切：选定目标区域，然后粘贴");
  await page.keyboard.press("F2");
  assert.equal(await cutMarks(page), 0);
  await page.keyboard.press("Escape");
  await ctrl(page, "x");
  await statusBecomes(page, "已剪切：选定目标区域，然后粘贴");
  await ctrl(page, "c");
  await statusBecomes(page, "已复制到剪贴板");
  assert.equal(await cutMarks(page), 0);
  // Text copied in another program since the cut is pasted as text; the cut cells stay.
  await ctrl(page, "x");
  await statusBecomes(page, "已剪切：选定目标区域，然后粘贴");
  await page.evaluate(() => navigator.clipboard.writeText("别处\r\n"));
  await goTo(page, "J3");
  await ctrl(page, "v");
  await statusBecomes(page, "已粘贴");
  assert.deepEqual(await gridShows(page, { J1: "12.5", J3: "别处" }), { J1: "12.5", J3: "别处" });
  await ctrl(page, "z");
  await ctrl(page, "z");
  assert.deepEqual(await gridShows(page, { J1: "", J3: "" }), { J1: "", J3: "" });
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
