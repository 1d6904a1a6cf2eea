// Editing cells as in the host: typing over a cell, F2, a double-click, the formula bar, Delete;
// entries taken as typed, formulas that read them recomputed, and each edit one undo step.
import assert from "node:assert/strict";
import path from "node:path";
import { after, before, test } from "node:test";
import { artefacts, goTo, gridShows, openPage, until } from "./support.mjs";

let opened;
before(async () => (opened = await openPage({ width: 1920, height: 1080 })));
after(async () => opened?.close());

const ctrl = async (page, key) => {
  await page.keyboard.down("Control");
  await page.keyboard.press(key);
  await page.keyboard.up("Control");
};
const nameBox = (page) => page.$eval("#namebox", (el) => el.value);

test("typing over a cell takes numbers and formulas as typed, and a formula that reads the cell follows", async () => {
  const { page } = opened;
  await goTo(page, "G1");
  await page.keyboard.type("=SUM(D2:D3)");
  await page.screenshot({ path: path.join(artefacts, "editing-1920.png") });
  await page.keyboard.press("Enter");
  assert.deepEqual(await gridShows(page, { G1: "47" }), { G1: "47" });
  assert.equal(await nameBox(page), "G2");
  await goTo(page, "D2");
  await page.keyboard.type("100");
  await page.keyboard.press("Tab");
  assert.equal(await nameBox(page), "E2");
  assert.deepEqual(await gridShows(page, { D2: "100", G1: "126" }), { D2: "100", G1: "126" });
  assert.match(await page.$eval("#fileinfo", (el) => el.textContent), /已修改/);
});

test("F2 edits what the cell holds, a double-click too, and Esc leaves it as it was", async () => {
  const { page } = opened;
  await goTo(page, "G1");
  await page.keyboard.press("F2");
  assert.equal(await page.$eval(".cell-editor", (el) => el.value), "=SUM(D2:D3)");
  await page.keyboard.press("Backspace");
  await page.keyboard.type(":D4)");
  await page.keyboard.press("Enter");
  assert.deepEqual(await gridShows(page, { G1: "130" }), { G1: "130" });
  await goTo(page, "A2");
  const cell = await page.$('[data-cell="A2"]');
  await cell.click({ count: 2 });
  await page.keyboard.type("xx");
  await page.keyboard.press("Escape");
  assert.deepEqual(await gridShows(page, { A2: "North" }), { A2: "North" });
  assert.ok(await page.evaluate(() => document.activeElement === document.querySelector(".viewport")));
});

test("the formula bar edits the active cell, and Delete clears the selection", async () => {
  const { page } = opened;
  await goTo(page, "H1");
  await page.click("#formula");
  await page.keyboard.type("合计");
  await page.keyboard.press("Enter");
  assert.deepEqual(await gridShows(page, { H1: "合计" }), { H1: "合计" });
  await goTo(page, "G1:H1");
  await page.keyboard.press("Delete");
  assert.deepEqual(await gridShows(page, { G1: "", H1: "" }), { G1: "", H1: "" });
});

test("each edit is one undo step with Ctrl+Z", async () => {
  const { page } = opened;
  await ctrl(page, "z"); // the clear
  assert.deepEqual(await gridShows(page, { G1: "130", H1: "合计" }), { G1: "130", H1: "合计" });
  await ctrl(page, "z"); // 合计
  await ctrl(page, "z"); // G1's second formula
  assert.deepEqual(await gridShows(page, { G1: "126", H1: "" }), { G1: "126", H1: "" });
  await ctrl(page, "z"); // D2
  await ctrl(page, "z"); // G1
  await until(page, () => !document.getElementById("fileinfo").textContent.includes("已修改"));
  assert.deepEqual(await gridShows(page, { D2: "21", G1: "" }), { D2: "21", G1: "" });
});

test("a typed percentage shows as one, with decimals when typed with them", async () => {
  const { page } = opened;
  await goTo(page, "J1");
  await page.keyboard.type("12.5%");
  await page.keyboard.press("Enter");
  await page.keyboard.type("50%");
  await page.keyboard.press("Enter");
  assert.deepEqual(await gridShows(page, { J1: "12.50%", J2: "50%" }), { J1: "12.50%", J2: "50%" });
  await goTo(page, "J1");
  assert.equal(await page.$eval("#formula", (el) => el.textContent), "12.5%");
});
