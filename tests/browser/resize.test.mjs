// Column and row borders: a drag resizes, a double-click fits; the sizes are saved with the
// workbook.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import path from "node:path";
import { after, before, test } from "node:test";
import { artefacts, openPage, until } from "./support.mjs";

let opened;
before(async () => (opened = await openPage({ width: 1366, height: 768 })));
after(async () => opened?.close());

const columnWidth = (page, c) => page.evaluate((c) => document.querySelector(`.ch[data-c="${c}"]`).getBoundingClientRect().width, c);
const rowHeight = (page, r) => page.evaluate((r) => document.querySelector(`.rh[data-r="${r}"]`).getBoundingClientRect().height, r);

async function border(page, selector, side) {
  const box = await (await page.$(selector)).boundingBox();
  return side === "right" ? { x: box.x + box.width - 1, y: box.y + box.height / 2 } : { x: box.x + box.width / 2, y: box.y + box.height - 1 };
}

test("dragging a column's right border and a row's bottom border resizes them", async () => {
  const { page } = opened;
  const before = await columnWidth(page, 3);
  const from = await border(page, '.ch[data-c="3"]', "right");
  await page.mouse.move(from.x, from.y);
  await page.mouse.down();
  await page.mouse.move(from.x + 70, from.y, { steps: 5 });
  await page.mouse.up();
  await until(page, (w) => document.querySelector('.ch[data-c="3"]').getBoundingClientRect().width > w + 60, before);
  const row = await border(page, '.rh[data-r="4"]', "bottom");
  await page.mouse.move(row.x, row.y);
  await page.mouse.down();
  await page.mouse.move(row.x, row.y + 20, { steps: 5 });
  await page.mouse.up();
  await until(page, () => document.querySelector('.rh[data-r="4"]').getBoundingClientRect().height > 30);
  assert.equal(await page.$eval("#namebox", (el) => el.value), "A1", "a drag on a border selects nothing");
  await page.screenshot({ path: path.join(artefacts, "resized-1366.png") });
});

test("a double-click on a column's border fits it to its widest cell", async () => {
  const { page } = opened;
  const at = await border(page, '.ch[data-c="2"]', "right");
  await page.mouse.click(at.x, at.y, { count: 2 });
  // "Product", "Coffee" and the like: narrower than the standard width.
  await until(page, () => document.querySelector('.ch[data-c="2"]').getBoundingClientRect().width < 60);
  assert.ok((await rowHeight(page, 4)) > 30);
});

test("the sizes are saved with the workbook", async () => {
  const { page, file } = opened;
  await page.keyboard.down("Control");
  await page.keyboard.press("s");
  await page.keyboard.up("Control");
  await until(page, () => document.getElementById("status").textContent.startsWith("已保存"));
  const sheet = execFileSync("unzip", ["-p", file, "xl/worksheets/sheet1.xml"], { encoding: "utf8" });
  assert.match(sheet, /<col min="3" max="3" width="1[6-9]\.\d+"/);
  assert.match(sheet, /<row r="4"[^>]* ht="(2[6-9]|3\d)(\.\d+)?"/);
});

test("Ctrl+Z takes the resizes back one at a time, the last first", async () => {
  const { page } = opened;
  const undo = async () => {
    await page.keyboard.down("Control");
    await page.keyboard.press("z");
    await page.keyboard.up("Control");
  };
  await undo();
  await until(page, () => document.querySelector('.ch[data-c="2"]').getBoundingClientRect().width > 60);
  assert.ok((await rowHeight(page, 4)) > 30, "the row's height waits for its own undo");
  await undo();
  await until(page, () => document.querySelector('.rh[data-r="4"]').getBoundingClientRect().height < 25);
  assert.ok((await columnWidth(page, 3)) > 100, "the column dragged before stays as it was");
});
