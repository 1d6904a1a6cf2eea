// 汇总与查找 in the browser: the dialog filled by dragging ranges on the grid, the run with its
// boxes, the summary in the grid, undo, and the saved workbook.
import assert from "node:assert/strict";
import path from "node:path";
import { after, before, test } from "node:test";
import {
  answer, artefacts, commandResult, finish, gridShows, openPage, pick, show, start, tableCells, until,
} from "./support.mjs";

const summaryArgs = ["summarize", "--list", "A1:E121", "--keys", "A1:B1", "--values", "D1:E1", "--target", "H1"];
const expected = tableCells(commandResult(summaryArgs, ["--range", "H1:K13"]));
const empty = Object.fromEntries(Object.keys(expected).map((a) => [a, ""]));

let opened;
before(async () => (opened = await openPage()));
after(async () => opened?.close());

// Alt+U, Enter: the menu's first entry opens the dialog; its reference boxes take ranges dragged
// on the grid, the list's far corner reached with the wheel and Shift+click.
async function fillSummary(page) {
  await page.keyboard.down("Alt");
  await page.keyboard.press("u");
  await page.keyboard.up("Alt");
  await page.keyboard.press("Enter");
  await page.waitForSelector(".tool-dialog");
  assert.equal(await pick(page, "RefEdit1", "A1", "E121"), "Sales!$A$1:$E$121");
  assert.equal(await pick(page, "RefEdit2", "A1", "B1"), "Sales!$A$1:$B$1");
  assert.equal(await pick(page, "RefEdit3", "D1", "E1"), "Sales!$D$1:$E$1");
  assert.equal(await pick(page, "RefEdit4", "H1"), "Sales!$H$1");
}

test("the dialog of 汇总与查找 shows a tab for each of its tools, labelled in Chinese", async () => {
  const { page } = opened;
  await fillSummary(page);
  const dialog = await page.$eval(".tool-dialog", (el) => ({
    title: el.querySelector(".title").textContent,
    tabs: [...el.querySelectorAll(".tabs button")].map((b) => b.textContent),
    labels: [...el.querySelectorAll(".page:not([hidden]) label")].map((l) => l.textContent),
  }));
  assert.equal(dialog.title, "汇总与查找");
  assert.equal(dialog.tabs.length, 4);
  assert.equal(dialog.labels.length, 4);
  assert.ok(dialog.labels.every((label) => /[\u4e00-\u9fff]/.test(label)), dialog.labels.join(", "));
  await page.screenshot({ path: path.join(artefacts, "summary-dialog.png") });
});

test("a run writes the summary the command writes, its cells marked as changed", async () => {
  const { page } = opened;
  await start(page);
  assert.deepEqual(await answer(page, "确定"), { title: "Lumo提示", text: "汇总完毕" });
  assert.deepEqual(await gridShows(page, expected), expected);
  assert.ok(await page.$(".changed-range, .changed-cell"), "the changed cells are marked");
  await page.screenshot({ path: path.join(artefacts, "summary-result.png") });
});

test("undo takes the whole run back", async () => {
  const { page } = opened;
  await page.click('.menu-top[data-caption="编辑"]');
  await (await page.waitForSelector('.menu-top.open .menu-item[data-caption="撤销(U)"]', { visible: true })).click();
  assert.deepEqual(await gridShows(page, empty), empty);
  await until(page, () => document.querySelector('.menu-item[data-caption="撤销(U)"]').getAttribute("aria-disabled") === "true");
});

test("a run over the summary asks first; No gives the dialog back as it was, Yes writes it again", async () => {
  const { page } = opened;
  await fillSummary(page);
  await start(page);
  await finish(page);
  await fillSummary(page);
  await start(page);
  const question = await answer(page, "否(N)");
  assert.equal(question.title, "Lumo提示");
  assert.match(question.text, /^该区域中已存在有效数据，继续运行将会清除掉这些数据！\n/);
  await until(page, () => !document.querySelector(".tool-dialog").inert);
  assert.equal(await page.$eval('.page:not([hidden]) input[data-control="RefEdit4"]', (el) => el.value), "Sales!$H$1");
  await start(page);
  // Asked for the keys' target and for the values' target.
  const boxes = await finish(page, ["是(Y)", "是(Y)"]);
  assert.deepEqual(boxes.map((box) => box.text), [question.text, question.text, "汇总完毕"]);
  assert.deepEqual(await gridShows(page, expected), expected);
});

test("Ctrl+S writes the workbook back; the file holds the summary", async () => {
  const { page, file } = opened;
  await page.keyboard.down("Control");
  await page.keyboard.press("s");
  await page.keyboard.up("Control");
  await until(page, () => document.getElementById("status").textContent.startsWith("已保存"));
  assert.deepEqual(tableCells(show(file, "--range", "H1:K13")), expected);
  assert.deepEqual(opened.errors, []);
});
