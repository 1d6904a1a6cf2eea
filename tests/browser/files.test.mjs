// Files: a file dropped on the page opens; Save As over an existing file asks whether to
// replace it.
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { after, before, test } from "node:test";
import { answer, gridShows, openPage, retype, until } from "./support.mjs";

let opened;
before(async () => (opened = await openPage({ width: 1366, height: 768 })));
after(async () => opened?.close());

test("a file dropped on the grid opens in place of the workbook", async () => {
  const { page } = opened;
  // What the browser hands a page when a file from the desktop is dropped on it.
  await page.evaluate(() => {
    const data = new DataTransfer();
    data.items.add(new File(["名称,数量\n甲,1\n乙,22\n"], "拖来的.csv", { type: "text/csv" }));
    const grid = document.querySelector(".viewport");
    grid.dispatchEvent(new DragEvent("dragover", { dataTransfer: data, bubbles: true, cancelable: true }));
    grid.dispatchEvent(new DragEvent("drop", { dataTransfer: data, bubbles: true, cancelable: true }));
  });
  await until(page, () => document.getElementById("status").textContent === "已打开 拖来的.csv");
  const shown = { A1: "名称", B3: "22" };
  assert.deepEqual(await gridShows(page, shown), shown);
});

async function saveAsName(page, name) {
  await page.click('.menu-top[data-caption="文件"]');
  await (await page.waitForSelector('.menu-top.open .menu-item[data-caption="另存为(A)..."]', { visible: true })).click();
  await retype(page, ".save-as input", name);
  await page.keyboard.press("Enter");
}

test("Save As to the name of a file there asks whether to replace it: No keeps it, Yes replaces it", async () => {
  const { page, dir } = opened;
  const other = path.join(dir, "旧的.xlsx");
  fs.writeFileSync(other, "an older file");
  await saveAsName(page, "旧的.xlsx");
  const asked = await answer(page, "否(N)");
  assert.equal(asked.text, "“旧的.xlsx”已经存在。\n要替换它吗？");
  assert.equal(fs.readFileSync(other, "utf8"), "an older file");
  await saveAsName(page, "旧的.xlsx");
  await answer(page, "是(Y)");
  await until(page, () => document.getElementById("status").textContent === "已保存 旧的.xlsx");
  assert.notEqual(fs.readFileSync(other, "utf8"), "an older file");
});
