// Smaller things a user trips on: the name box with a sheet's name, and an undo pressed right
// after a click on the sheet the undo takes away.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";
import { finish, goTo, menu, openPage, pick, start, type, until } from "./support.mjs";

let opened;
before(async () => (opened = await openPage({ width: 1366, height: 768 })));
after(async () => opened?.close());

const activeTab = (page) => page.$eval('.sheet-tab[aria-selected="true"]', (el) => el.textContent);
const tabClick = (page, name) => page.click(`xpath/.//button[contains(@class,"sheet-tab") and text()="${name}"]`);

test("the name box goes to Sheet!A1 on that sheet, quoted names and any letter case too", async () => {
  const { page } = opened;
  await goTo(page, "Cross!B3");
  await until(page, () => document.querySelector('.sheet-tab[aria-selected="true"]').textContent === "Cross");
  assert.equal(await page.$eval("#namebox", (el) => el.value), "B3");
  assert.equal(await page.$eval("#formula", (el) => el.textContent), "3");
  await goTo(page, "'zeros'!$C$2");
  await until(page, () => document.querySelector('.sheet-tab[aria-selected="true"]').textContent === "Zeros");
  assert.equal(await page.$eval("#namebox", (el) => el.value), "C2");
  await goTo(page, "Sales!A1");
});

test("Ctrl+Z right after a click on the sheet a run added undoes the run, with no error", async () => {
  const { page } = opened;
  await menu(page, "分页小计与合计");
  await pick(page, "RefEdit1", "D2", "E2");
  await pick(page, "RefEdit2", "A1");
  await type(page, "TextBox1", "小计");
  await type(page, "TextBox2", "合计");
  await start(page);
  await finish(page);
  await until(page, () => document.querySelector('.sheet-tab[aria-selected="true"]').textContent === "Sales (2)");
  await tabClick(page, "Sales");
  await until(page, () => document.querySelector('.sheet-tab[aria-selected="true"]').textContent === "Sales");
  // The click and Ctrl+Z in the same moment, as a quick hand does them.
  await page.evaluate(() => {
    [...document.querySelectorAll(".sheet-tab")].find((t) => t.textContent === "Sales (2)").click();
    document.activeElement.dispatchEvent(new KeyboardEvent("keydown", { key: "z", ctrlKey: true, bubbles: true }));
  });
  await until(page, () => document.getElementById("status").textContent === "已撤销上一次运行");
  await new Promise((resolve) => setTimeout(resolve, 300)); // a box would come now
  assert.equal(await page.$$eval(".message-box", (boxes) => boxes.length), 0);
  assert.deepEqual(await page.$$eval(".sheet-tab", (tabs) => tabs.map((t) => t.textContent)), ["Sales", "Lookup", "Cross", "Zeros"]);
  assert.equal(await activeTab(page), "Sales");
});
