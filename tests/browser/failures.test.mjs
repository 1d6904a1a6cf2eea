// A run that fails says why, in a box, and the dialog comes back with what the user typed.
import assert from "node:assert/strict";
import path from "node:path";
import { after, before, test } from "node:test";
import { answer, artefacts, menu, openPage, pick, start, type, until } from "./support.mjs";

let opened;
before(async () => (opened = await openPage({ width: 1366, height: 768 })));
after(async () => opened?.close());

test("a typo in a reference box shows the run's failure report, then the dialog with its entries", async () => {
  const { page } = opened;
  await menu(page, "汇总与查找");
  await type(page, "RefEdit1", "A1:E12x");
  await pick(page, "RefEdit2", "A1", "B1");
  await pick(page, "RefEdit3", "D1", "E1");
  await pick(page, "RefEdit4", "H1");
  await start(page);
  const box = await page.waitForSelector(".message-box");
  const text = await box.$eval(".message", (el) => el.textContent);
  await page.screenshot({ path: path.join(artefacts, "failure-report-1366.png") });
  assert.match(text, /错误/);
  await answer(page, "确定");
  await until(page, () => document.querySelector(".tool-dialog") && !document.querySelector(".tool-dialog").inert);
  const entries = await page.$$eval(".tool-dialog .page:not([hidden]) input[type=text]", (els) => els.map((el) => el.value));
  assert.deepEqual(entries, ["A1:E12x", "Sales!$A$1:$B$1", "Sales!$D$1:$E$1", "Sales!$H$1"]);
  assert.equal(await page.$eval("#status", (el) => el.textContent), "运行失败");
  await page.keyboard.press("Escape");
});
