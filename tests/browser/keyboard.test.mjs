// The keyboard: the grid keeps it after a tab click, a closed dialog and a run; Shift+Enter and
// Shift+Tab go back; a dialog without fields starts on Enter; dialogs stay on a narrowed page.
import assert from "node:assert/strict";
import path from "node:path";
import { after, before, test } from "node:test";
import { artefacts, finish, goTo, menu, openPage, retype, until } from "./support.mjs";

let opened;
before(async () => (opened = await openPage({ width: 1366, height: 768 })));
after(async () => opened?.close());

const nameBox = (page) => page.$eval("#namebox", (el) => el.value);
const gridHasKeys = (page) => page.evaluate(() => document.activeElement === document.querySelector(".viewport"));

test("Enter and Tab move down and right; with Shift, up and left", async () => {
  const { page } = opened;
  await goTo(page, "C5");
  await page.keyboard.press("Enter");
  assert.equal(await nameBox(page), "C6");
  await page.keyboard.press("Tab");
  assert.equal(await nameBox(page), "D6");
  await page.keyboard.down("Shift");
  await page.keyboard.press("Enter");
  assert.equal(await nameBox(page), "D5");
  await page.keyboard.press("Tab");
  assert.equal(await nameBox(page), "C5");
  await page.keyboard.up("Shift");
});

test("Ctrl+Arrow goes to the edge of the data, with Shift it selects there; Ctrl+Home, Ctrl+End, Ctrl+A", async () => {
  const { page } = opened;
  const chord = async (...keys) => {
    for (const key of keys.slice(0, -1)) await page.keyboard.down(key);
    await page.keyboard.press(keys.at(-1));
    for (const key of keys.slice(0, -1).reverse()) await page.keyboard.up(key);
  };
  const landsOn = (address) => until(page, (a) => document.getElementById("namebox").value === a, address);
  await goTo(page, "A1");
  await chord("Control", "ArrowDown");
  await landsOn("A121");
  await chord("Control", "ArrowRight");
  await landsOn("E121");
  await chord("Control", "ArrowUp");
  await landsOn("E1");
  await chord("Shift", "Control", "ArrowDown");
  await landsOn("E1:E121");
  await chord("Control", "Home");
  await landsOn("A1");
  await chord("Control", "End");
  await landsOn("E121");
  await chord("Control", "a");
  await landsOn("A1:IV65536");
  await goTo(page, "A1");
});

test("the status bar shows the selection's average, count and sum", async () => {
  const { page } = opened;
  await goTo(page, "D1:E5");
  await until(page, () => document.getElementById("summary").textContent !== "");
  assert.equal(await page.$eval("#summary", (el) => el.textContent), "平均值: 49.5    计数: 10    求和: 396");
  await goTo(page, "A1:B2");
  await until(page, () => document.getElementById("summary").textContent === "计数: 4");
  await goTo(page, "A1");
  await until(page, () => document.getElementById("summary").textContent === "");
});

test("after a sheet-tab click the arrow keys move on the sheet clicked", async () => {
  const { page } = opened;
  await page.click("#namebox");
  await page.click('xpath/.//button[contains(@class,"sheet-tab") and text()="Zeros"]');
  await until(page, () => document.querySelector('.sheet-tab[aria-selected="true"]').textContent === "Zeros");
  assert.ok(await gridHasKeys(page));
  await page.keyboard.press("ArrowDown");
  assert.equal(await nameBox(page), "A2");
});

test("after Esc closes a dialog the grid has the keyboard", async () => {
  const { page } = opened;
  await menu(page, "数据分区");
  await page.waitForSelector(".tool-dialog");
  await page.keyboard.press("Escape");
  await until(page, () => !document.querySelector(".tool-dialog"));
  assert.ok(await gridHasKeys(page));
});

test("删除0值 starts on Enter, and after its run the grid has the keyboard", async () => {
  const { page } = opened;
  await menu(page, "删除0值");
  await page.waitForSelector(".tool-dialog");
  await page.keyboard.press("Enter");
  await retype(page, ".range-prompt input", "A1:C5");
  await page.keyboard.press("Enter");
  await finish(page, ["是(Y)"]);
  await until(page, () => !document.querySelector(".tool-dialog, .message-box"));
  assert.ok(await gridHasKeys(page));
});

test("a dialog stays on the page when the window narrows", async () => {
  const { page } = opened;
  await menu(page, "汇总与查找");
  const dialog = await page.waitForSelector(".tool-dialog");
  await page.setViewport({ width: 800, height: 600 });
  await until(page, () => document.querySelector(".tool-dialog").getBoundingClientRect().right <= window.innerWidth);
  await page.screenshot({ path: path.join(artefacts, "narrowed-dialog-800.png") });
  const box = await dialog.boundingBox();
  assert.ok(box.x >= 0 && box.y >= 0);
  await page.keyboard.press("Escape");
  await page.setViewport({ width: 1366, height: 768 });
});

