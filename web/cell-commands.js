import { rectAddress } from "./address.js";
import { get, post } from "./api.js";
import { fromTabbed, toTabbed } from "./clipboard.js";
import { openContextMenu } from "./context.js";
import { CellEditor } from "./editor.js";
import { listenForResize } from "./resize.js";

// What the page does to the cells themselves: editing, the clipboard, clearing, the right-click
// menu, column and row sizes, Ctrl+Arrow, and the status bar's sum of the selection.
let page = null; // { grid, state, guarded, loadWorkbook, status, action } of the page
let editor = null;

// Wires them to the page's grid; gives the cell editor and summarise(box).
export function cellCommands(services) {
  page = services;
  const { grid, guarded } = page;
  editor = new CellEditor(grid, document.getElementById("formula"), guarded(commitEdit));
  grid.cellsEl.addEventListener("contextmenu", contextMenu);
  listenForResize(grid, guarded(resize));
  grid.edgeOf = edgeOf;
  grid.onKey = gridKey;
  return { editor, summarise };
}

// The status bar's 平均值, 计数 and 求和 of a selection of more than one cell, as the host's.
let summing = null;
function summarise(box) {
  const shown = document.getElementById("summary");
  clearTimeout(summing);
  shown.textContent = "";
  if (box.top === box.bottom && box.left === box.right) return;
  const { state, grid } = page;
  const sheet = state.sheet;
  summing = setTimeout(async () => {
    const s = await get(`/api/summary?sheet=${sheet}&${blockQuery(box)}`).catch(() => null);
    if (!s || sheet !== state.sheet || rectAddress(box) !== rectAddress(grid.selectedBox())) return;
    shown.textContent = s.numbers > 0
      ? `平均值: ${s.average}    计数: ${s.count}    求和: ${s.sum}`
      : s.count > 1 ? `计数: ${s.count}` : "";
  }, 150);
}

const blockQuery = (box) => `top=${box.top}&left=${box.left}&bottom=${box.bottom}&right=${box.right}`;

// A change written, then the sheet shown again with what follows from it.
async function write(body) {
  await post("/api/edit", { sheet: page.state.sheet, ...body });
  page.state.changed = [];
  await page.loadWorkbook(true);
}

// An entry kept: written as typed.
const commitEdit = (box, text) => write({ at: rectAddress(box), rows: [[text]] });

const clearSelection = () => write({ clear: rectAddress(page.grid.selectedBox()) });

// Copy gives the selection's cells as they show. Cut gives them too and marks them with a
// moving border, changing nothing until a paste moves them (grid.js ends the mark when the sheet
// changes or another shows; Esc, an edit begun and a copy end it too).
let copiedText = null; // what the last copy or cut put on the clipboard
async function copySelection(cut) {
  const box = page.grid.selectedBox();
  const { cells } = await get(`/api/cells?sheet=${page.state.sheet}&${blockQuery(box)}`);
  const rows = Array.from({ length: box.bottom - box.top + 1 }, () => Array(box.right - box.left + 1).fill(""));
  for (const cell of cells) rows[cell.r - box.top][cell.c - box.left] = cell.text;
  copiedText = toTabbed(rows);
  await navigator.clipboard.writeText(copiedText);
  page.grid.showCut(cut ? box : null);
  page.status(cut ? "已剪切：选定目标区域，然后粘贴" : "已复制到剪贴板");
}

// Paste at the active cell: the cut cells moved there while the clipboard holds what the cut put
// on it (their contents, formulas and formats; the formulas that refer to them follow), else the
// clipboard's text written from there on, each cell as typed. What was pasted is selected.
async function paste() {
  const text = await navigator.clipboard.readText();
  const { grid } = page;
  const { r, c } = grid.selection.anchor;
  const at = { top: r, left: c, bottom: r, right: c };
  const cut = grid.cutBox;
  if (cut && text === copiedText) {
    await write({ move: rectAddress(cut), to: rectAddress(at) });
    grid.selectBox({ ...at, bottom: r + cut.bottom - cut.top, right: c + cut.right - cut.left });
    page.status("已移动");
    return;
  }
  const rows = fromTabbed(text);
  if (rows.length === 0) return;
  await write({ at: rectAddress(at), rows });
  grid.selectBox({ ...at, bottom: r + rows.length - 1, right: c + Math.max(...rows.map((row) => row.length)) - 1 });
  page.status("已粘贴");
}

// The cells' right-click menu: the clipboard, clearing, and the toolbox's tools.
function contextMenu(event) {
  const { grid, state, guarded, action } = page;
  event.preventDefault();
  if (grid.locked || state.running) return;
  const cell = grid.cellAt(event.clientX, event.clientY);
  const box = grid.selectedBox();
  const inside = cell.r >= box.top && cell.r <= box.bottom && cell.c >= box.left && cell.c <= box.right;
  if (!inside) grid.selectBox({ top: cell.r, left: cell.c, bottom: cell.r, right: cell.c });
  const tools = (state.menu?.menu?.items ?? []).filter((item) => /!F\d$/.test(item.action ?? ""));
  openContextMenu(event.clientX, event.clientY, [
    { caption: "剪切", shortcut: "Ctrl+X", run: guarded(() => copySelection(true)) },
    { caption: "复制", shortcut: "Ctrl+C", run: guarded(() => copySelection(false)) },
    { caption: "粘贴", shortcut: "Ctrl+V", run: guarded(paste) },
    { caption: "清除内容", shortcut: "Delete", run: guarded(clearSelection) },
    ...tools.map((item, i) => ({ caption: item.caption.replace(/&(.)/g, "$1"), beginGroup: i === 0, run: guarded(() => action(item.action)) })),
  ], () => grid.viewport.focus({ preventScroll: true }));
}

async function resize(change) {
  await post("/api/size", { sheet: page.state.sheet, ...change });
  await page.loadWorkbook(true);
}

// Where Ctrl+Arrow goes (the workbook tells), and Ctrl+End: the used area's last cell.
function edgeOf(from, way) {
  const { state } = page;
  if (way === "end") {
    const { lastRow, lastColumn } = state.workbook.sheets[state.sheet];
    return Promise.resolve({ r: Math.max(1, lastRow), c: Math.max(1, lastColumn) });
  }
  return get(`/api/end?sheet=${state.sheet}&row=${from.r}&column=${from.c}&direction=${way}`);
}

// The keys the page takes before the grid moves: Delete, the clipboard's, Esc and Enter of a
// cut, and an edit's.
function gridKey(event) {
  if (event.key === "Escape" && page.grid.cutBox) {
    page.grid.showCut(null);
    page.status("就绪");
    return true;
  }
  const clipboard = { c: () => copySelection(false), x: () => copySelection(true), v: paste };
  const plain = !event.ctrlKey && !event.altKey && !event.shiftKey;
  // As in the host, Enter while cut cells are marked pastes them.
  const use = event.key === "Delete" && plain ? clearSelection
    : event.key === "Enter" && plain && page.grid.cutBox ? paste
      : event.ctrlKey && !event.altKey && clipboard[event.key.toLowerCase()];
  if (!use) return editor.gridKey(event);
  page.guarded(use)();
  event.preventDefault();
  return true;
}
