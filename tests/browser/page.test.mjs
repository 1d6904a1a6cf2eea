// The page around the tools: the menu and toolbar as the toolbox builds them, the information
// window, the help, the far corner of the sheet, and the boxes' keys.
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { after, before, test } from "node:test";
import { artefacts, finish, goTo, gridShows, menu, openPage, pick, sleep, start, until } from "./support.mjs";

let opened;
before(async () => (opened = await openPage()));
after(async () => opened?.close());

const entries = (page, selector) =>
  page.$$eval(selector, (els) => els.map((el) => (el.classList.contains("menu-sep") || el.classList.contains("tool-sep") ? "----" : el.dataset.caption)));

test("the header of the example shows bold on its blue fill, as the workbook stores it", async () => {
  const { page } = opened;
  await page.waitForSelector('[data-cell="A1"]');
  const header = await page.$eval('[data-cell="A1"]', (el) => {
    const fill = [...document.querySelectorAll(".content .fill")].find((f) => f.style.top === el.style.top && f.style.left === el.style.left);
    return { bold: getComputedStyle(el).fontWeight, fill: fill && getComputedStyle(fill).backgroundColor };
  });
  assert.deepEqual(header, { bold: "700", fill: "rgb(221, 235, 247)" });
  assert.equal(await page.$eval('[data-cell="A2"]', (el) => getComputedStyle(el).fontWeight), "400");
  await page.screenshot({ path: path.join(artefacts, "bold-and-fill.png") });
});

test("the menu Tavrin(U) holds the tools, separators, and the two submenus with their accelerators", async () => {
  const { page } = opened;
  assert.equal(await page.$eval('.menu-top[data-caption="Tavrin(U)"] u', (el) => el.textContent), "U");
  assert.deepEqual(await entries(page, '.menu-top[data-caption="Tavrin(U)"] > .menu-list > *'), [
    "汇总与查找", "分页小计与合计", "删除0值", "----", "数据分区", "清单转表格", "表格转清单", "----",
    "重启与退出", "关于软件(About)",
  ]);
  assert.deepEqual(await entries(page, '.menu-item[data-caption="关于软件(About)"] .menu-item'), ["使用帮助(Help)", "公司信息(I)"]);
  assert.deepEqual(await entries(page, '.toolbar[data-name="Tavrin"] :is(.tool, .tool-sep)'), [
    "汇总与查找", "分页小计与合计", "删除0值", "----", "数据分区", "清单转表格", "表格转清单", "----", "重启与退出", "关于软件",
  ]);
  // Alt+U opens the menu; in it, A opens 关于软件(About) and I runs 公司信息(I).
  await page.keyboard.down("Alt");
  await page.keyboard.press("u");
  await page.keyboard.up("Alt");
  await page.keyboard.press("a");
  await page.keyboard.press("i");
  const info = await page.waitForSelector(".info-window");
  assert.equal(await info.$eval(".info-close", (el) => el.textContent), "关  闭");
  await info.dispose();
});

test("the information window fades in, shows its close label, and fades out when it is clicked", async () => {
  const { page } = opened;
  const opacity = () => page.$eval(".info-window", (el) => Number(getComputedStyle(el).opacity));
  await until(page, () => {
    const picture = document.querySelector(".info-window img");
    return picture && picture.complete && picture.naturalWidth === 505;
  });
  await sleep(600);
  const fading = await opacity();
  assert.ok(fading > 0 && fading < 1, `halfway through the fade-in the window is partly seen (${fading})`);
  await page.waitForSelector(".info-close", { visible: true, timeout: 4000 });
  // Fully shown once the fade ends; a busy machine may ask a frame before its last step.
  await until(page, () => getComputedStyle(document.querySelector(".info-window")).opacity === "1");
  await page.click(".info-close");
  await sleep(600);
  assert.ok((await opacity()) < 1);
  await until(page, () => !document.querySelector(".info-window"));
});

test("使用帮助 shows the help the toolbox returns, in its own window", async () => {
  const { page } = opened;
  await menu(page, "关于软件(About)", "使用帮助(Help)");
  const frame = await (await page.waitForSelector(".help-window iframe")).contentFrame();
  await frame.waitForSelector("h2");
  assert.ok((await frame.$$eval("h2", (hs) => hs.map((h) => h.textContent))).includes("汇总与查找"));
  await page.click(".help-window .close");
});

test("退出Tavrin removes the menu and the toolbar; 加载 Tavrin brings them back", async () => {
  const { page } = opened;
  await menu(page, "重启与退出", "退出Tavrin");
  await until(page, () => !document.querySelector('.menu-top[data-caption="Tavrin(U)"], .toolbar[data-name="Tavrin"]'));
  await page.click('.menu-top[data-caption="工具"]');
  await (await page.waitForSelector('.menu-item[data-caption="加载 Tavrin"]', { visible: true })).click();
  await page.waitForSelector('.menu-top[data-caption="Tavrin(U)"]');
  await page.waitForSelector('.toolbar[data-name="Tavrin"]');
});

test("the grid reaches the last cell, IV65536, drawing only what is in view", async () => {
  const { page } = opened;
  await goTo(page, "iv65536");
  await until(page, () => [...document.querySelectorAll(".rh.on")].some((el) => el.textContent === "65536"));
  const drawn = await page.evaluate(() => ({
    name: document.getElementById("namebox").value,
    column: document.querySelector(".ch.on").textContent,
    rows: document.querySelectorAll(".rh").length,
  }));
  assert.deepEqual({ ...drawn, rows: drawn.rows < 200 }, { name: "IV65536", column: "IV", rows: true });
});

async function summary(page) {
  await menu(page, "汇总与查找");
  await pick(page, "RefEdit1", "A1", "E121");
  await pick(page, "RefEdit2", "A1", "B1");
  await pick(page, "RefEdit3", "D1", "E1");
  await pick(page, "RefEdit4", "H1");
  await start(page);
}

test("in a question, Esc answers No, and so does Enter on its default button; the dialog comes back", async () => {
  const { page } = opened;
  await goTo(page, "A1");
  await summary(page);
  await finish(page);
  await summary(page);
  for (const key of ["Escape", "Enter"]) {
    const box = await page.waitForSelector(".message-box");
    assert.equal(await box.$eval("button:focus", (b) => b.textContent), "否(N)");
    await page.keyboard.press(key);
    await until(page, () => !document.querySelector(".tool-dialog").inert);
    assert.equal(await page.$eval("#status", (el) => el.textContent), "运行已中止");
    if (key === "Escape") await start(page);
  }
  await page.keyboard.press("Escape");
  await until(page, () => !document.querySelector(".tool-dialog"));
});

test("打开 uploads a workbook in place of the open one; 保存 then asks for a new name", async () => {
  const { page, dir } = opened;
  const upload = path.join(dir, "清单.csv");
  fs.writeFileSync(upload, "名称,数量\n甲,1\n乙,22\n");
  const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('.toolbar[data-name="常用"] .tool[data-caption="打开(O)..."]')]);
  await chooser.accept([upload]);
  await until(page, () => document.getElementById("status").textContent === "已打开 清单.csv");
  assert.deepEqual(await page.$$eval(".sheet-tab", (tabs) => tabs.map((t) => t.textContent)), ["清单"]);
  const shown = { A1: "名称", B1: "数量", A3: "乙", B3: "22" };
  assert.deepEqual(await gridShows(page, shown), shown);
  await page.click('.toolbar[data-name="常用"] .tool[data-caption="保存(S)"]');
  assert.equal(await page.$eval(".save-as input", (el) => el.value), "清单.xlsx");
  await page.keyboard.press("Enter");
  await until(page, () => document.getElementById("status").textContent === "已保存 清单.xlsx");
  assert.ok(fs.existsSync(path.join(dir, "清单.xlsx")));
});
