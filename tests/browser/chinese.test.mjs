// The page speaks Chinese: a refused upload, and the help of every tool.
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { after, before, test } from "node:test";
import { answer, artefacts, menu, openPage, until } from "./support.mjs";

let opened;
before(async () => (opened = await openPage({ width: 1366, height: 768 })));
after(async () => opened?.close());

test("a file the page cannot open is refused in Chinese, and the status says it was not opened", async () => {
  const { page, dir } = opened;
  const bad = path.join(dir, "坏.xlsx");
  fs.writeFileSync(bad, "not a workbook");
  const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('.toolbar[data-name="常用"] .tool[data-caption="打开(O)..."]')]);
  await chooser.accept([bad]);
  const shown = await answer(page, "确定");
  assert.equal(shown.text, "无法打开“坏.xlsx”：它不是能读的 .xlsx、.xls 或 .csv 工作簿，或者文件已损坏。");
  assert.equal(await page.$eval("#status", (el) => el.textContent), "未能打开 坏.xlsx");
});

test("使用帮助 explains each tool in Chinese: what it does, its fields and an example", async () => {
  const { page } = opened;
  await menu(page, "关于软件(About)", "使用帮助(Help)");
  const frame = await (await page.waitForSelector(".help-window iframe")).contentFrame();
  await frame.waitForSelector("h3");
  const help = await frame.evaluate(() => ({
    text: document.body.textContent,
    tools: document.querySelectorAll("h3").length,
    examples: document.querySelectorAll(".example").length,
    summary: [...document.querySelectorAll("dt")].slice(0, 4).map((dt) => dt.textContent),
  }));
  await page.screenshot({ path: path.join(artefacts, "help-1366.png") });
  assert.deepEqual({ ...help, text: undefined }, {
    text: undefined, tools: 10, examples: 10, summary: ["清单区域(含标题行)", "关键字列", "求和数值列", "结果存放位置(首个单元格)"],
  });
  assert.doesNotMatch(help.text, /--|The |\(HZ\)/);
  await page.click(".help-window .close");
  await until(page, () => !document.querySelector(".help-window"));
});
