// Numbers as the host shows them: General rounded to its column, number formats through the
// engine's format renderer, "#" when a number does not fit, colours of sections and fonts.
import assert from "node:assert/strict";
import path from "node:path";
import { after, before, test } from "node:test";
import { artefacts, goTo, gridShows, openPage, testData, until } from "./support.mjs";

let opened;
before(async () => (opened = await openPage({ workbook: testData("formats.xlsx"), width: 1366, height: 768 })));
after(async () => opened?.close());

// What the host shows in these cells (tests/data/make_formats.py writes them).
const golden = {
  B2: "13594933", // 13594932.65, General, standard width: rounded to fit
  B3: "0.521116",
  B4: "-1.4E+07",
  B5: "0.333333",
  B6: "1E-10",
  C7: "1.23457E+14", // at most 11 characters, however wide the column
  C8: "52.1%",
  C9: "¥1,234.50",
  C10: "1,234,567.89",
  C11: "2024-06-01",
  C12: "2024年6月1日",
  C13: "-1,234.50",
  D14: "##", // a column three digits wide
  B15: "######", // #,##0.00 wider than a standard column
};

test("numbers show as the host shows them: General fitted to the column, formats applied, # when they do not fit", async () => {
  const { page } = opened;
  assert.deepEqual(await gridShows(page, golden), golden);
  // The formatted numbers selected, their sum in the status bar: the README's picture.
  await goTo(page, "C8:C13");
  await until(page, () => document.getElementById("summary").textContent !== "");
  await page.screenshot({ path: path.join(artefacts, "number-display-1366.png") });
});

test("a number's text fits inside its cell, its first digit in view", async () => {
  const { page } = opened;
  const overflowing = await page.$$eval(".cell.num", (cells) =>
    cells.filter((el) => el.scrollWidth > el.clientWidth).map((el) => el.dataset.cell));
  assert.deepEqual(overflowing, []);
});

test("a red section and a font colour show in their colours; the formula bar shows the value as typed", async () => {
  const { page } = opened;
  const colour = (a) => page.$eval(`[data-cell="${a}"]`, (el) => getComputedStyle(el).color);
  assert.equal(await colour("C13"), "rgb(255, 0, 0)");
  assert.equal(await colour("C16"), "rgb(0, 112, 192)");
  assert.equal(await colour("C10"), "rgb(0, 0, 0)");
  // E16 holds nothing but its border: medium red on top, thin black left and right, dashed below.
  const border = await page.evaluate(() => {
    const e16 = [...document.querySelectorAll(".content .border")].find((el) => el.style.borderTop.includes("2px"));
    const s = e16 && getComputedStyle(e16);
    return s && [s.borderTopWidth, s.borderTopColor, s.borderLeftWidth, s.borderBottomStyle];
  });
  assert.deepEqual(border, ["2px", "rgb(255, 0, 0)", "1px", "dashed"]);
  // E17's fill is the theme's first accent, 80% lighter: the host's pale blue, D9E1F2.
  const fill = await page.evaluate(() => [...document.querySelectorAll(".content .fill")]
    .map((el) => getComputedStyle(el).backgroundColor).find((c) => c !== "rgb(255, 255, 0)"));
  const [r, g, b] = fill.match(/\d+/g).map(Number);
  assert.ok(Math.abs(r - 0xd9) <= 2 && Math.abs(g - 0xe1) <= 2 && Math.abs(b - 0xf2) <= 2, fill);
  // A percentage as the host's formula bar shows it: as a percentage, every digit.
  await page.click('[data-cell="C8"]');
  assert.equal(await page.$eval("#formula", (el) => el.textContent), "52.1116137504578%");
});

test("a text with line breaks shows every line, its row grown to hold them", async () => {
  const { page } = opened;
  const cell = await page.$eval('[data-cell="A18"]', (el) => ({
    lines: el.textContent.split("\n").length,
    clipped: el.scrollHeight > el.clientHeight,
  }));
  assert.deepEqual(cell, { lines: 3, clipped: false });
});

test("the formula bar shows a long text whole", async () => {
  const { page } = opened;
  await goTo(page, "A19");
  const bar = await page.$eval("#formula", (el) => ({
    text: el.textContent,
    clipped: el.scrollHeight > el.clientHeight || el.scrollWidth > el.clientWidth,
  }));
  assert.ok(bar.text.endsWith("完。"));
  assert.equal(bar.clipped, false);
  await page.screenshot({ path: path.join(artefacts, "long-text-1366.png") });
});

test("frozen panes as the file stores them: the first row and column stay while the sheet scrolls", async () => {
  const { page } = opened;
  const grid = await page.$eval(".viewport", (el) => el.getBoundingClientRect().toJSON());
  await page.mouse.move(grid.x + 400, grid.y + 300);
  await page.mouse.wheel({ deltaY: 100 });
  await page.mouse.wheel({ deltaX: 600 });
  await until(page, () => document.querySelector(".viewport").scrollTop > 50 && document.querySelector(".viewport").scrollLeft > 300);
  await page.screenshot({ path: path.join(artefacts, "frozen-panes-1366.png") });
  // Where row 1 and column A were: the frozen row and column, whatever the scroll.
  const seen = await page.evaluate(({ x, y }) => {
    const at = (px, py) => {
      const cell = document.elementFromPoint(px, py)?.closest(".cell");
      return cell ? [cell.closest(".frozen")?.classList[1] ?? "grid", cell.textContent] : null;
    };
    return { corner: at(x + 54, y + 28), column: at(x + 54, y + 20 + 17 * 12 + 8) };
  }, grid);
  assert.deepEqual(seen.corner, ["frozen-corner", "说明"]);
  assert.equal(seen.column?.[0], "frozen-columns");
  await page.mouse.click(grid.x + 60, grid.y + 28);
  await until(page, () => document.getElementById("namebox").value === "A1");
});

// The colour of a pixel of the window as drawn, [r, g, b].
async function pixel(page, x, y) {
  const png = await page.screenshot({ clip: { x, y, width: 1, height: 1 }, encoding: "base64" });
  return page.evaluate(async (data) => {
    const image = new Image();
    image.src = `data:image/png;base64,${data}`;
    await image.decode();
    const canvas = document.createElement("canvas");
    canvas.width = canvas.height = 1;
    const context = canvas.getContext("2d");
    context.drawImage(image, 0, 0);
    return [...context.getImageData(0, 0, 1, 1).data.slice(0, 3)];
  }, png);
}

test("a selection over frozen cells shows over them while the sheet is scrolled", async () => {
  const { page } = opened;
  const grid = await page.$eval(".viewport", (el) => el.getBoundingClientRect().toJSON());
  await page.mouse.move(grid.x + 400, grid.y + 300);
  await page.$eval(".viewport", (el) => (el.scrollLeft = 0));
  await page.mouse.wheel({ deltaY: 400 });
  await until(page, () => document.querySelector(".viewport").scrollTop > 200 && document.querySelector(".viewport").scrollLeft === 0);
  // Column B's left edge, and the middle of frozen row 1.
  const { x, y } = await page.evaluate(() => {
    const column = [...document.querySelectorAll(".columns .ch")].find((el) => el.textContent === "B").getBoundingClientRect();
    const row = [...document.querySelectorAll(".frozen-row-labels .rh")].find((el) => el.textContent === "1").getBoundingClientRect();
    return { x: Math.round(column.left), y: Math.round(row.top + row.height / 2) };
  });
  const dark = ([r, g, b]) => r + g + b < 200;
  assert.ok(!dark(await pixel(page, x, y)), "no selection there before the click");
  await page.mouse.click(x + 20, y);
  await until(page, () => document.getElementById("namebox").value === "B1");
  assert.ok(dark(await pixel(page, x, y)), "the selection's edge over B1");
  const lit = await page.$$eval(".frozen-row-labels .rh.on", (labels) => labels.map((el) => el.textContent));
  assert.deepEqual(lit, ["1"], "row 1's frozen label lit");
  // Stretched down into the scrolled rows: still drawn over the frozen cell.
  await page.keyboard.down("Shift");
  await page.mouse.click(x + 20, grid.y + 300);
  await page.keyboard.up("Shift");
  await until(page, () => /^B1:B\d\d$/.test(document.getElementById("namebox").value));
  assert.ok(dark(await pixel(page, x, y)), "the selection's edge over B1 once stretched");
  assert.ok(await page.evaluate(() => document.querySelector(".viewport").scrollTop > 200), "the sheet stayed scrolled");
  await page.screenshot({ path: path.join(artefacts, "frozen-selection-1366.png") });
});
