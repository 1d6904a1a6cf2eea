import { showInfo } from "./about.js";
import { parseAddress, rectAddress, sheetOf } from "./address.js";
import { link, post, get, request } from "./api.js";
import { messageBox, promptBox } from "./boxes.js";
import { cellCommands } from "./cell-commands.js";
import { openToolDialog } from "./dialog.js";
import { Grid } from "./grid.js";
import { CommandBars } from "./menus.js";
import { follow, runTool } from "./run.js";
import { openWindow } from "./windows.js";

// The page of `tavrin serve`: the workbook as the host shows it, the toolbox's menu and toolbar,
// the page's own file commands, the tools' dialogs and the boxes of their runs.
const $ = (id) => document.getElementById(id);
const grid = new Grid($("grid"));
const bars = new CommandBars($("menubar"), $("toolbars"));
const state = {
  workbook: null,
  sheet: -1,
  selections: new Map(), // sheet index -> selection text, kept while another sheet is shown
  changed: [], // "Sheet1!H1:J9" of the last run
  uploaded: false,
  menu: null,
  busy: false,
  running: false, // a run is going: the page reads, and a tab click only shows its sheet
};

const status = (text) => ($("status").textContent = text);
const note = (text) => ($("note").textContent = text);

// A failure in a box; a change refused while a run is going, as a note beside its progress.
async function report(error) {
  if (error.status === 409 && state.running) note(error.message);
  else await messageBox({ title: "Tavrin", text: error.message });
}

// The page's actions take turns, so an undo pressed right after a tab click waits for that
// sheet to show; while a run is going they go at once, and the server refuses those that change.
let turn = Promise.resolve();
function inTurn(work) {
  if (state.running) return work();
  const mine = turn.then(work);
  turn = mine.catch(() => {});
  return mine;
}

// Runs an action of the page in its turn, reporting a failure.
const guarded = (work) => async (...args) => {
  try {
    await inTurn(() => work(...args));
  } catch (error) {
    await report(error);
  }
};

// ---- the workbook and its sheets

function describeFile() {
  const wb = state.workbook;
  document.title = `${wb.file}${wb.dirty ? " *" : ""} - Tavrin`;
  $("fileinfo").textContent = `${wb.file}${wb.dirty ? "（已修改）" : ""}`;
}

function renderTabs() {
  const tabs = $("tabs");
  tabs.replaceChildren();
  state.workbook.sheets.forEach((sheet, i) => {
    const tab = document.createElement("button");
    tab.type = "button";
    tab.className = "sheet-tab";
    tab.setAttribute("role", "tab");
    tab.setAttribute("aria-selected", String(i === state.sheet));
    tab.textContent = sheet.name;
    // A click on a tab leaves the keyboard where it was: with the grid, or with the reference
    // box that takes a range of the other sheet.
    tab.addEventListener("mousedown", (event) => event.preventDefault());
    tab.addEventListener("click", guarded(async () => {
      if (!grid.locked) grid.viewport.focus({ preventScroll: true });
      await selectSheet(i);
    }));
    tabs.append(tab);
  });
}

// The changed ranges of the last run that lie on the sheet shown.
function changedOnSheet() {
  const name = state.workbook.sheets[state.sheet]?.name;
  return state.changed.flatMap((text) => {
    const box = parseAddress(text);
    return box && sheetOf(text) === name ? [box] : [];
  });
}

async function showSheet(index, selection) {
  const layout = await get(`/api/layout?sheet=${index}`);
  state.sheet = index;
  renderTabs();
  grid.show(index, state.workbook.sheets[index].name, layout, parseAddress(selection) ?? parseAddress("A1"));
  grid.setChanged(changedOnSheet());
  showSelection(grid.selectedBox());
}

// Reads the workbook again; `fresh` draws the sheet shown anew (after a run, an undo, an upload).
async function loadWorkbook(fresh) {
  const wb = await get("/api/workbook");
  state.workbook = wb;
  describeFile();
  updateCommands();
  if (wb.active !== state.sheet || fresh === "all") {
    await showSheet(wb.active, wb.selection);
  } else if (fresh) {
    renderTabs();
    grid.refresh(await get(`/api/layout?sheet=${wb.active}`));
    grid.setChanged(changedOnSheet());
  } else renderTabs();
}

async function selectSheet(index) {
  if (index === state.sheet) return;
  state.selections.set(state.sheet, rectAddress(grid.selectedBox()));
  const selection = state.selections.get(index) ?? "A1";
  if (!state.running) await post("/api/select", { sheet: index, selection });
  state.workbook.active = index;
  await showSheet(index, selection);
}

// ---- the selection, the name box and the formula bar

let sending = null;

function showSelection(box) {
  $("namebox").value = rectAddress(box);
  if (!editor.editing) $("formula").textContent = grid.activeEntry();
}

const { editor, summarise } = cellCommands({ grid, state, guarded, loadWorkbook, status, action });

grid.onSelect = (box, final) => {
  showSelection(box);
  if (final) summarise(box);
  if (!final || state.running) return;
  clearTimeout(sending);
  const sheet = state.sheet;
  const selection = rectAddress(box);
  sending = setTimeout(() => inTurn(() => post("/api/select", { sheet, selection })).catch(report), 120);
};
grid.onCells = () => showSelection(grid.selectedBox());

$("namebox").addEventListener("keydown", (event) => {
  if (event.key === "Escape") {
    showSelection(grid.selectedBox());
    grid.viewport.focus();
  }
  if (event.key !== "Enter") return;
  event.preventDefault();
  goToAddress(event.target.value);
});

// The name box's address, on the sheet it names or the one shown: on the sheet shown at once,
// on another once that sheet shows.
function goToAddress(text) {
  const box = parseAddress(text);
  const name = sheetOf(text);
  const index = name === null ? state.sheet : state.workbook.sheets.findIndex((s) => s.name.toLowerCase() === name.toLowerCase());
  if (!box || index < 0) {
    messageBox({ title: "Tavrin", text: "引用无效。请输入单元格地址，例如 A1、A1:B3 或 Sheet1!A1。" });
    return;
  }
  const there = () => {
    grid.selectBox(box);
    grid.viewport.focus();
  };
  if (index === state.sheet) return there();
  state.selections.set(index, rectAddress(box));
  guarded(async () => {
    await selectSheet(index);
    there();
  })();
}

// ---- running a tool

// While a run is going: the page reads the workbook, and a run of a second or more shows how
// long it has taken and a Cancel (or Esc) that stops it at its next step.
async function whileRunning(name, work) {
  state.running = true;
  grid.showCut(null);
  const running = name ? `正在运行 ${name}…` : "正在运行…";
  status(running);
  try {
    return await work((seconds) => {
      status(`${running} 已用 ${seconds} 秒`);
      $("progress").hidden = false;
    });
  } finally {
    state.running = false;
    $("progress").hidden = true;
    note("");
  }
}

const cancelRun = guarded(async () => {
  if (!state.running) return;
  status("正在取消…");
  await post("/api/cancel");
});
$("cancel-run").addEventListener("click", cancelRun);

async function afterRun(result) {
  state.changed = result?.changed ?? [];
  await loadWorkbook(true);
  const words = {
    finished: "运行完毕", stopped: "运行已中止", failed: "运行失败", cancelled: "运行已取消，工作簿已恢复原样",
  };
  status(words[result?.state] ?? "就绪");
}

function openDialog(description) {
  const dialog = openToolDialog(description, grid, guarded(async (tool, controls) => {
    dialog.setBusy(true);
    let result = null;
    try {
      result = await whileRunning(description.title ?? tool, (progress) => runTool(tool, controls, grid, progress));
    } finally {
      // A dialog the tool left up, or whose run failed, comes back with its entries once the
      // page shows what the run did.
      if (result?.form !== "shown" && !["failed", "cancelled"].includes(result?.state)) dialog.close();
      await afterRun(result);
      dialog.setBusy(false);
    }
  }));
}

function showHelp(html) {
  const win = openWindow({ title: "使用帮助", className: "help-window" });
  const frame = document.createElement("iframe");
  frame.setAttribute("sandbox", "");
  frame.title = "使用帮助";
  frame.srcdoc = `<!doctype html><meta charset="utf-8"><style>body{font:14px/1.6 sans-serif;margin:12px 16px}` +
    `pre,code{background:#f4f4f4}pre{padding:6px;overflow:auto}table{border-collapse:collapse}` +
    `td,th{border:1px solid #ccc;padding:2px 6px}</style>${html}`;
  win.body.append(frame);
  win.win.style.left = `${Math.max(0, window.innerWidth - 700) / 2}px`;
  win.win.style.top = "80px";
}

async function action(name) {
  const answer = await post("/api/action", { action: name });
  if (answer.dialog) openDialog(answer.dialog);
  if (answer.menuChanged) await loadMenu();
  if (answer.help !== undefined) showHelp(answer.help);
  if (answer.about) showInfo(answer.about);
  if (answer.menuChanged && /BbbThing$/.test(name)) status("Tavrin 已重新启动");
}

// ---- the page's own file commands

async function save() {
  if (state.uploaded) return saveAs();
  const { saved } = await post("/api/save", {});
  await loadWorkbook(false);
  status(`已保存 ${saved}`);
}

async function saveAs() {
  const stem = state.workbook.file.replace(/\.[^.]*$/, "");
  let name = await promptBox({ title: "另存为", prompt: "文件名（保存在原工作簿所在的文件夹中）：", value: `${stem}.xlsx`, className: "save-as" });
  if (name === null) return;
  name = name.trim();
  if (!/\.xlsx$/i.test(name)) name += ".xlsx";
  const { saved } = await saveReplacing(name);
  if (!saved) return;
  state.uploaded = false;
  await loadWorkbook(false);
  status(`已保存 ${saved}`);
}

// Save As to a name another file has: a question whether to replace it, as the host asks.
async function saveReplacing(name) {
  try {
    return await post("/api/save", { as: name });
  } catch (error) {
    if (error.reason !== "exists") throw error;
    const answer = await messageBox({ title: "另存为", text: `“${name}”已经存在。\n要替换它吗？`, buttons: "YesNo", default: "No" });
    if (answer !== "Yes") return { saved: null };
    return post("/api/save", { as: name, replace: true });
  }
}

function download() {
  const a = document.createElement("a");
  a.href = link("/api/download");
  a.download = state.workbook.file.replace(/\.[^.]*$/, "") + ".xlsx";
  document.body.append(a);
  a.click();
  a.remove();
}

async function upload(file) {
  status(`正在打开 ${file.name}…`);
  try {
    await request("POST", `/api/open?name=${encodeURIComponent(file.name)}`, file);
  } catch (error) {
    status(`未能打开 ${file.name}`);
    throw error;
  }
  state.uploaded = true;
  state.changed = [];
  state.selections.clear();
  await loadWorkbook("all");
  status(`已打开 ${file.name}`);
}

async function undo() {
  clearTimeout(sending); // a selection on a sheet the undo may take away
  await post("/api/undo");
  state.changed = [];
  await loadWorkbook(true);
  status("已撤销上一次运行");
}

// A file dropped on the page opens as 打开 opens it.
document.addEventListener("dragover", (event) => {
  if (!event.dataTransfer?.types.includes("Files") || state.running) return;
  event.preventDefault();
  event.dataTransfer.dropEffect = "copy";
});
document.addEventListener("drop", (event) => {
  const [file] = event.dataTransfer?.files ?? [];
  if (!file) return;
  event.preventDefault();
  if (!state.running && !document.querySelector("[aria-modal]")) guarded(upload)(file);
});

$("upload").addEventListener("change", guarded(async (event) => {
  const [file] = event.target.files;
  event.target.value = "";
  if (file) await upload(file);
}));

// ---- menus and toolbars

const commands = {
  open: { caption: "打开(&O)...", faceId: "open", shortcut: "Ctrl+O", run: () => $("upload").click() },
  save: { caption: "保存(&S)", faceId: "save", shortcut: "Ctrl+S", run: guarded(save) },
  saveAs: { caption: "另存为(&A)...", run: guarded(saveAs) },
  download: { caption: "下载(&D)", faceId: "download", run: download },
  undo: { caption: "撤销(&U)", faceId: "undo", shortcut: "Ctrl+Z", run: guarded(undo) },
};

function fromModel(item) {
  return {
    caption: item.caption,
    faceId: item.faceId,
    beginGroup: item.beginGroup,
    items: item.items?.map(fromModel),
    run: guarded(() => action(item.action)),
  };
}

// The last action that restarts the toolbox, kept so it can be loaded again after it quit.
let restart = "Tavrin.xls!BbbThing";

// Builds the bars again when what they show changed (not while a list of theirs is down).
let shown = "";

function updateCommands() {
  const wb = state.workbook;
  const model = state.menu ?? {};
  const key = JSON.stringify([model, Boolean(wb?.canUndo), restart]);
  if (key === shown) return;
  shown = key;
  commands.undo.disabled = !wb?.canUndo;
  const menus = [
    { caption: "文件", items: [commands.open, commands.save, commands.saveAs, commands.download] },
    { caption: "编辑", items: [commands.undo] },
  ];
  if (model.menu) menus.push({ caption: model.menu.caption, items: model.menu.items.map(fromModel) });
  menus.push({
    caption: "工具",
    items: [{ caption: "加载 Tavrin", faceId: 3820, disabled: Boolean(model.menu) || !restart, run: guarded(() => action(restart)) }],
  });
  const standard = [commands.open, commands.save, commands.download, { ...commands.undo, beginGroup: true }];
  const toolbars = [{ name: "常用", items: standard.map((c) => ({ ...c, showCaption: false })) }];
  if (model.toolbar?.visible) toolbars.push({ name: model.toolbar.name, items: model.toolbar.items.map(fromModel) });
  bars.render(menus, toolbars);
}

function findRestart(items = []) {
  for (const item of items) {
    if (/!BbbThing$/.test(item.action ?? "")) return item.action;
    const inner = findRestart(item.items);
    if (inner) return inner;
  }
  return null;
}

async function loadMenu() {
  state.menu = await get("/api/menu");
  restart = findRestart(state.menu.menu?.items) ?? findRestart(state.menu.toolbar?.items) ?? restart;
  updateCommands();
}

document.addEventListener("keydown", (event) => {
  if (event.key === "Escape" && state.running && !document.querySelector(".message-box, .prompt-box")) {
    cancelRun();
    return;
  }
  // While a run is going the commands go to the server, which refuses them at once.
  const modal = document.querySelector("[aria-modal]") || grid.locked;
  if (!event.ctrlKey || event.altKey || (modal && !state.running)) return;
  const typing = event.target.matches?.("input, textarea, [contenteditable]");
  const key = event.key.toLowerCase();
  if (key === "s") commands.save.run();
  else if (key === "o") commands.open.run();
  else if (key === "z" && !typing && !commands.undo.disabled) commands.undo.run();
  else return;
  event.preventDefault();
});

// ---- start

guarded(async () => {
  await Promise.all([loadMenu(), loadWorkbook("all")]);
  if (state.workbook.running) await afterRun(await whileRunning("", (progress) => follow(grid, progress)));
  grid.viewport.focus();
})();
