import { rectAddress } from "./address.js";
import { get, post } from "./api.js";
import { fromTabbed, toTabbed } from "./clipboard.js";
import { openContextMenu } from "./context.js";
import { CellEditor } from "./editor.js";
import { listenForResize } from "./resize.js";

// What the page does to the cells themselves: editing, the clipboard, clearing, the right-click
// menu, column and row sizes, Ctrl+Arrow, and the status bar's sum of the selection. `page`
// gives the page's state and services: { grid, state, guarded, loadWorkbook, status, action }.
// Gives the cell editor and summarise(box).
export function cellCommands({ grid, state, guarded, loadWorkbook, status, action }) {
  const $ = (id) => document.getElementById(id);

  // The status bar's 平均值, 计数 and 求和 of a selection of more than one cell, as the host's.
  let summing = null;
  function summarise(box) {
    clearTimeout(summing);
    $("summary").textContent = "";
    if (box.top === box.bottom && box.left === box.right) return;
    const sheet = state.sheet;
    summing = setTimeout(async () => {
      const query = `sheet=${sheet}&top=${box.top}&left=${box.left}&bottom=${box.bottom}&right=${box.right}`;
      const s = await get(`/api/summary?${query}`).catch(() => null);
      if (!s || sheet !== state.sheet || rectAddress(box) !== rectAddress(grid.selectedBox())) return;
      $("summary").textContent = s.numbers > 0
        ? `平均值: ${s.average}    计数: ${s.count}    求和: ${s.sum}`
        : s.count > 1 ? `计数: ${s.count}` : "";
    }, 150);
  }

  // An entry kept: written as typed, then the sheet shown again with what follows from it.
  async function commitEdit(box, text) {
    await post("/api/edit", { sheet: state.sheet, at: rectAddress(box), rows: [[text]] });
    state.changed = [];
    await loadWorkbook(true);
  }

  async function clearSelection() {
    await post("/api/edit", { sheet: state.sheet, clear: rectAddress(grid.selectedBox()) });
    state.changed = [];
    await loadWorkbook(true);
  }

  // Copy gives the selection's cells as they show; cut also clears them (one undo step); paste
  // writes the clipboard's text from the active cell on, each cell as typed.
  async function copySelection(cut) {
    const box = grid.selectedBox();
    const query = `sheet=${state.sheet}&top=${box.top}&left=${box.left}&bottom=${box.bottom}&right=${box.right}`;
    const { cells } = await get(`/api/cells?${query}`);
    const rows = Array.from({ length: box.bottom - box.top + 1 }, () => Array(box.right - box.left + 1).fill(""));
    for (const cell of cells) rows[cell.r - box.top][cell.c - box.left] = cell.text;
    await navigator.clipboard.writeText(toTabbed(rows));
    if (cut) await clearSelection();
    status(cut ? "已剪切到剪贴板" : "已复制到剪贴板");
  }

  async function paste() {
    const rows = fromTabbed(await navigator.clipboard.readText());
    if (rows.length === 0) return;
    const { r, c } = grid.selection.anchor;
    await post("/api/edit", { sheet: state.sheet, at: rectAddress({ top: r, left: c, bottom: r, right: c }), rows });
    state.changed = [];
    await loadWorkbook(true);
    grid.selectBox({ top: r, left: c, bottom: r + rows.length - 1, right: c + Math.max(...rows.map((row) => row.length)) - 1 });
    status("已粘贴");
  }

  const editor = new CellEditor(grid, $("formula"), guarded(commitEdit));
  // The cells' right-click menu: the clipboard, clearing, and the toolbox's tools.
  grid.cellsEl.addEventListener("contextmenu", (event) => {
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
  });

  listenForResize(grid, guarded(async (change) => {
    await post("/api/size", { sheet: state.sheet, ...change });
    await loadWorkbook(true);
  }));
  grid.edgeOf = async (from, way) => {
    if (way === "end") {
      const { lastRow, lastColumn } = state.workbook.sheets[state.sheet];
      return { r: Math.max(1, lastRow), c: Math.max(1, lastColumn) };
    }
    return get(`/api/end?sheet=${state.sheet}&row=${from.r}&column=${from.c}&direction=${way}`);
  };
  grid.onKey = (event) => {
    if (event.key === "Delete" && !event.ctrlKey && !event.altKey) {
      guarded(clearSelection)();
      event.preventDefault();
      return true;
    }
    const clipboard = { c: () => copySelection(false), x: () => copySelection(true), v: paste };
    const use = event.ctrlKey && !event.altKey && clipboard[event.key.toLowerCase()];
    if (use) {
      guarded(use)();
      event.preventDefault();
      return true;
    }
    return editor.gridKey(event);
  };

  return { editor, summarise };
}
