// What the browser tests share: a server on a copy of the example workbook, a browser on its
// page, and the gestures a person makes (menu entries, drags on the grid, answers to boxes).
import { execFileSync, spawn } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import readline from "node:readline";
import puppeteer from "puppeteer-core";

export const tavrin = process.env.TAVRIN;
const example = path.resolve(import.meta.dirname, "../../examples/sales.xlsx");
export const artefacts = process.env.TAVRIN_ARTEFACTS ?? os.tmpdir();

// `tavrin show` of a workbook's range, as text.
export function show(file, ...args) {
  return execFileSync(tavrin, ["show", file, ...args], { encoding: "utf8" });
}

// The same tool run by the command, on its own copy of the example: what the page must match.
export function commandResult(args, showArgs) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "tavrin-cli-"));
  const input = path.join(dir, "sales.xlsx");
  const output = path.join(dir, "out.xlsx");
  fs.copyFileSync(example, input);
  try {
    execFileSync(tavrin, [...args.slice(0, 1), input, ...args.slice(1), "-o", output], { stdio: "ignore" });
    return show(output, ...showArgs);
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

// A workbook of tests/data/.
export const testData = (name) => path.resolve(import.meta.dirname, "../data", name);

// `tavrin serve` on a fresh copy of a workbook (the example unless told), and a browser on its
// page of the size given. `stepPause` (milliseconds) slows every step of a run down;
// `scrollbars` shows classic scrollbars, as Chromium on Windows draws them.
export async function openPage({ workbook = example, width = 1200, height = 760, stepPause = 0, scrollbars = false } = {}) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "tavrin-serve-"));
  const file = path.join(dir, path.basename(workbook));
  fs.copyFileSync(workbook, file);
  const env = { ...process.env, TAVRIN_STEP_PAUSE_MS: String(stepPause) };
  const server = spawn(tavrin, ["serve", file, "--port", "0"], { stdio: ["ignore", "pipe", "inherit"], env });
  const url = await new Promise((resolve, reject) => {
    readline.createInterface({ input: server.stdout }).once("line", resolve);
    server.once("exit", (code) => reject(new Error(`tavrin serve exited with ${code}`)));
  });
  // Chromium; FIREFOX=/usr/bin/firefox-esr runs the same tests in Firefox instead.
  const browser = await puppeteer.launch({
    ...(process.env.FIREFOX
      ? { browser: "firefox", executablePath: process.env.FIREFOX }
      : { executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium", args: ["--no-sandbox", "--lang=zh-CN"] }),
    ...(scrollbars ? { ignoreDefaultArgs: ["--hide-scrollbars"] } : {}),
    defaultViewport: { width, height },
  });
  // The system clipboard, as a person lets a page use it.
  if (!process.env.FIREFOX) {
    await browser.defaultBrowserContext().overridePermissions(new URL(url).origin,
      ["clipboard-read", "clipboard-write", "clipboard-sanitized-write"]);
  }
  const page = await browser.newPage();
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  await page.goto(url, { waitUntil: "networkidle0" });
  await page.waitForSelector(".sheet-tab");
  return {
    page,
    dir,
    file,
    errors,
    async close() {
      await browser.close();
      server.kill("SIGTERM");
      await new Promise((resolve) => (server.exitCode !== null ? resolve() : server.once("exit", resolve)));
      fs.rmSync(dir, { recursive: true, force: true });
    },
  };
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Waits until the condition, evaluated in the page, holds.
export async function until(page, condition, ...args) {
  await page.waitForFunction(condition, { timeout: 15000 }, ...args);
}

// Runs an entry of the Tavrin menu, opening its submenu first when it is in one.
export async function menu(page, ...captions) {
  await page.click('.menu-top[data-caption="Tavrin(U)"]');
  for (const caption of captions) {
    const entry = await page.waitForSelector(`.menu-top.open .menu-item[data-caption="${caption}"]`, { visible: true });
    if (caption === captions.at(-1)) await entry.click();
    else await entry.hover();
  }
}

const columnNumber = (letters) => [...letters].reduce((n, ch) => n * 26 + ch.charCodeAt(0) - 64, 0);

// Where a cell is: its point in the window when drawn, and which way it lies when not in view.
function locate(page, address) {
  const [, column, row] = /^([A-Z]+)(\d+)$/.exec(address);
  return page.evaluate((column, row) => {
    const view = document.querySelector(".viewport").getBoundingClientRect();
    const ch = [...document.querySelectorAll(".ch")].find((el) => el.textContent === column);
    const rh = [...document.querySelectorAll(".rh")].find((el) => el.textContent === row);
    const x = ch?.getBoundingClientRect();
    const y = rh?.getBoundingClientRect();
    const dx = !x ? 0 : x.left < view.left + 44 ? -1 : x.right > view.right - 16 ? 1 : 0;
    const dy = !y ? 0 : y.top < view.top + 20 ? -1 : y.bottom > view.bottom - 16 ? 1 : 0;
    return {
      x: x && x.left + 8,
      y: y && y.top + y.height / 2,
      visible: Boolean(x && y && !dx && !dy),
      dx, dy,
      view: { x: view.left + 200, y: view.top + 200 },
      firstRow: Number(document.querySelector(".rh")?.textContent),
      firstColumn: document.querySelector(".ch")?.textContent,
    };
  }, column, row);
}

// The point of the window over a cell ("H12"), scrolled into view with the mouse wheel first.
async function cellPoint(page, address) {
  const [, column, row] = /^([A-Z]+)(\d+)$/.exec(address);
  for (let turn = 0; turn < 200; turn++) {
    const where = await locate(page, address);
    if (where.visible) return where;
    // A turn of the wheel towards it, judged from the first headers drawn when it is not drawn.
    const down = where.y === undefined ? Math.sign(Number(row) - where.firstRow) : where.dy;
    const right = where.x === undefined ? Math.sign(columnNumber(column) - columnNumber(where.firstColumn)) : where.dx;
    await page.mouse.move(where.view.x, where.view.y);
    await page.mouse.wheel({ deltaX: right * 200, deltaY: down * 400 });
    await sleep(30);
  }
  throw new Error(`cell ${address} never came into view`);
}

// A drag on the grid from one cell to another, as a person selects a range; when the far corner
// is out of view, a click on the first, the wheel, and a Shift+click on the other.
export async function drag(page, from, to) {
  const a = await cellPoint(page, from);
  await page.mouse.move(a.x, a.y);
  await page.mouse.down();
  const b = await locate(page, to);
  if (b.visible) {
    await page.mouse.move((a.x + b.x) / 2, (a.y + b.y) / 2, { steps: 3 });
    await page.mouse.move(b.x, b.y, { steps: 3 });
    await page.mouse.up();
    return;
  }
  await page.mouse.up();
  const c = await cellPoint(page, to);
  await page.keyboard.down("Shift");
  await page.mouse.click(c.x, c.y);
  await page.keyboard.up("Shift");
}

// Clicks a field of the dialog's page in view and drags the range into it.
export async function pick(page, control, from, to = from) {
  await (await page.waitForSelector(`.tool-dialog .page:not([hidden]) [data-control="${control}"] input`)).click();
  await drag(page, from, to);
  return page.$eval(`.tool-dialog .page:not([hidden]) input[data-control="${control}"]`, (el) => el.value);
}

// Types into a text field over what it holds, as after selecting its text.
export async function retype(page, selector, text) {
  const field = await page.waitForSelector(selector);
  await field.click();
  await field.evaluate((el) => el.select());
  await page.keyboard.type(text);
}

export async function type(page, control, text) {
  await retype(page, `.tool-dialog .page:not([hidden]) input[data-control="${control}"]`, text);
}

// Goes to a cell through the name box.
export async function goTo(page, address) {
  await retype(page, "#namebox", address);
  await page.keyboard.press("Enter");
}

export async function start(page) {
  await (await page.waitForSelector(".tool-dialog .page:not([hidden]) button.default")).click();
}

// Answers the boxes of the run going on, the i-th question with answers[i] and every other box
// with 确定, until the run is over; gives the boxes shown, in order.
export async function finish(page, answers = []) {
  const boxes = [];
  for (;;) {
    const next = await page.waitForFunction(
      () => document.querySelector(".message-box") ? "box" : document.querySelector(".range-prompt") ? "prompt"
        : /^运行/.test(document.getElementById("status").textContent) ? "over" : false,
      { timeout: 20000 });
    const what = await next.jsonValue();
    if (what === "over") return boxes;
    if (what === "prompt") return boxes;
    const question = await page.$$eval(".message-box .buttons button", (b) => b.length > 1);
    if (question && answers.length === 0) {
      const text = await page.$eval(".message-box .message", (el) => el.textContent);
      throw new Error(`unexpected question: ${text}`);
    }
    boxes.push(await answer(page, question ? answers.shift() : "确定"));
  }
}

// The message box in front: its title and text, answered by the button captioned so.
export async function answer(page, caption) {
  const box = await page.waitForSelector(".message-box", { visible: true });
  const shown = await box.evaluate((el) => ({
    title: el.querySelector(".title").textContent,
    text: el.querySelector(".message").textContent,
  }));
  const button = await box.waitForSelector(`xpath/.//button[text()="${caption}"]`);
  await button.click();
  await until(page, (el) => !el.isConnected, box);
  return shown;
}

// The cells of a `tavrin show` table: address -> text, empty ones left out.
export function tableCells(table) {
  const lines = table.split("\n").filter((line) => line.includes("|"));
  const columns = lines[0].split("|").slice(1).map((c) => c.trim());
  const cells = {};
  for (const line of lines.slice(1)) {
    const [row, ...texts] = line.split("|").map((t) => t.trim());
    texts.forEach((text, i) => {
      if (text !== "") cells[`${columns[i]}${row}`] = text;
    });
  }
  return cells;
}

// The texts the grid shows in the given cells, once their tiles have come. A cell brought into
// view by the wheel first when it is not drawn.
export async function gridTexts(page, addresses) {
  const texts = {};
  for (const address of addresses) {
    await cellPoint(page, address);
    await sleep(20);
    texts[address] = await page.evaluate((a) => document.querySelector(`[data-cell="${a}"]`)?.textContent ?? "", address);
  }
  return texts;
}

// Waits until the grid shows the cells as given (the tiles fetched after a run come on their own).
export async function gridShows(page, expected) {
  const addresses = Object.keys(expected);
  let texts = {};
  for (let turn = 0; turn < 50; turn++) {
    texts = await gridTexts(page, addresses);
    if (addresses.every((a) => texts[a] === expected[a])) return texts;
    await sleep(100);
  }
  return texts;
}

// Saves the workbook under a new name through 文件 > 另存为 and gives the file's path.
export async function saveAs(page, opened, name) {
  await page.click('.menu-top[data-caption="文件"]');
  await (await page.waitForSelector('.menu-top.open .menu-item[data-caption="另存为(A)..."]', { visible: true })).click();
  await retype(page, ".save-as input", name);
  await page.keyboard.press("Enter");
  await until(page, (n) => document.getElementById("status").textContent === `已保存 ${n}`, name);
  return path.join(opened.dir, name);
}

export { sleep };
