// One tool of each other dialog, run in the browser as a person would, and what it wrote compared
// with what the command writes for the same entries.
import assert from "node:assert/strict";
import { test } from "node:test";
import {
  commandResult, drag, finish, gridShows, menu, openPage, pick, saveAs, show, start, tableCells, type,
} from "./support.mjs";

// Opens a page on a fresh copy, runs the work, and closes everything whatever happens.
async function withPage(work) {
  const opened = await openPage();
  try {
    await work(opened.page, opened);
    assert.deepEqual(opened.errors, []);
  } finally {
    await opened.close();
  }
}

async function sheetTab(page, name) {
  await page.click(`xpath/.//button[contains(@class,"sheet-tab") and text()="${name}"]`);
  await page.waitForFunction((n) => document.querySelector('.sheet-tab[aria-selected="true"]').textContent === n, {}, name);
}

// The saved workbook's sheet equals the command's, and the grid shows its first cells.
async function sameAsCommand(page, opened, args, showArgs) {
  const expected = tableCells(commandResult(args, showArgs));
  const firstCells = Object.fromEntries(Object.entries(expected).slice(0, 12));
  assert.deepEqual(await gridShows(page, firstCells), firstCells);
  const saved = await saveAs(page, opened, "result.xlsx");
  assert.deepEqual(tableCells(show(saved, ...showArgs)), expected);
}

test("清单转表格: regions down, products across, units summed", () =>
  withPage(async (page, opened) => {
    await menu(page, "清单转表格");
    await pick(page, "RefEdit1", "A1", "E121");
    await pick(page, "RefEdit2", "H1");
    await pick(page, "RefEdit3", "A1");
    await pick(page, "RefEdit4", "B1");
    await pick(page, "RefEdit5", "D1");
    assert.ok(await page.$eval('input[data-control="OptionButton1"]', (el) => el.checked));
    await start(page);
    await finish(page);
    await sameAsCommand(page, opened,
      ["list-to-table", "--list", "A1:E121", "--destination", "H1", "--row-field", "A1", "--column-field", "B1", "--value-field", "D1", "--sum"],
      ["--range", "H1:K5"]);
  }));

test("表格转清单: the cross table on its own sheet unrolled row by row, empty cells left out", () =>
  withPage(async (page, opened) => {
    await sheetTab(page, "Cross");
    await menu(page, "表格转清单");
    assert.equal(await pick(page, "RefEdit1", "A1", "D4"), "Cross!$A$1:$D$4");
    await pick(page, "RefEdit2", "F1");
    await page.click('input[data-control="CheckBox1"]');
    await start(page);
    await finish(page);
    await sameAsCommand(page, opened,
      ["table-to-list", "--sheet", "Cross", "--table", "A1:D4", "--destination", "F1", "--by-row", "--skip-empty"],
      ["--sheet", "Cross"]);
  }));

test("删除0值: the range prompt takes the range dragged on the grid", () =>
  withPage(async (page, opened) => {
    await sheetTab(page, "Zeros");
    await menu(page, "删除0值");
    await start(page);
    const prompt = await page.waitForSelector(".range-prompt");
    assert.equal(await prompt.$eval(".message", (el) => el.firstChild.textContent), "请选定你要清零的单元格区域");
    await drag(page, "B2", "D4");
    assert.equal(await prompt.$eval("input", (el) => el.value), "$B$2:$D$4");
    await page.keyboard.press("Enter");
    await finish(page);
    await sameAsCommand(page, opened, ["clear-zeros", "--sheet", "Zeros", "--range", "B2:D4"], ["--sheet", "Zeros"]);
  }));

test("分页小计与合计: a copy of the sheet, shown at once, with a subtotal on every page", () =>
  withPage(async (page, opened) => {
    await menu(page, "分页小计与合计");
    await pick(page, "RefEdit1", "D2", "E2");
    await pick(page, "RefEdit2", "A1");
    await type(page, "TextBox1", "小计");
    await type(page, "TextBox2", "合计");
    await start(page);
    await finish(page);
    await page.waitForFunction(() => document.querySelector('.sheet-tab[aria-selected="true"]').textContent === "Sales (2)");
    await sameAsCommand(page, opened,
      ["page-subtotals", "--data", "D2:E2", "--label-column", "A1", "--subtotal-label", "小计", "--total-label", "合计"],
      ["--sheet", "Sales (2)"]);
  }));

test("数据分区: the list folded into three groups side by side after a confirmation", () =>
  withPage(async (page, opened) => {
    await menu(page, "数据分区");
    for (const [control, value] of [["TextBox1", "1"], ["TextBox2", "3"], ["TextBox3", "0"], ["TextBox4", "40"], ["TextBox5", "1"]]) {
      await type(page, control, value);
    }
    await start(page);
    const [question] = await finish(page, ["确定"]);
    assert.equal(question.text, "将要对    “sales.xlsx”\n的        “Sales”\n\n    执行分排处理！");
    await sameAsCommand(page, opened,
      ["partition", "--title-rows", "1", "--groups-across", "3", "--lead-columns", "0", "--group-rows", "40", "--gap-columns", "1", "--yes"],
      ["--sheet", "Sales (2)"]);
  }));
