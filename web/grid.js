import { COLUMNS, ROWS, rect, rectAddress, sheetPrefix } from "./address.js";
import { CellStore, TILE_COLUMNS, TILE_ROWS } from "./cells.js";
import { Geometry } from "./geometry.js";
import { FrozenPanes } from "./frozen.js";
import { Marks } from "./marks.js";
import { Painter } from "./painter.js";

// The sheet as the host shows it: row and column headers, the cells of the visible block, the
// selection. The content scrolls natively (a spacer as large as the sheet), the headers stick to
// the edges, and only the block in view, with a margin, is drawn (painter.js) and fetched.
const HEADER_WIDTH = 44;
const HEADER_HEIGHT = 20;

const clamp = (value, low, high) => Math.min(high, Math.max(low, value));

export class Grid {
  constructor(host) {
    host.innerHTML = `
      <div class="viewport" tabindex="0" aria-label="工作表">
        <div class="sheet">
          <div class="column-header"><div class="corner" title="全选"></div><div class="columns"></div></div>
          <div class="body"><div class="row-header"></div><div class="cells">
            <div class="content"></div>
          </div></div>
        </div>
      </div>`;
    this.viewport = host.querySelector(".viewport");
    this.sheetEl = host.querySelector(".sheet");
    this.columnsEl = host.querySelector(".columns");
    this.rowsEl = host.querySelector(".row-header");
    this.cellsEl = host.querySelector(".cells");
    this.contentEl = host.querySelector(".content");
    this.geometry = new Geometry();
    this.store = null;
    this.selection = { anchor: { r: 1, c: 1 }, focus: { r: 1, c: 1 }, mode: "cells" };
    this.changedBoxes = [];
    this.cutBox = null; // the cells Ctrl+X marked, which a paste moves
    // The row labels apart from the row header's frozen pane, which they never clear.
    const rowLabels = document.createElement("div");
    this.rowsEl.append(rowLabels);
    this.painter = new Painter({ content: this.contentEl, rows: rowLabels, columns: this.columnsEl });
    this.marks = new Marks((el, box) => this.place(el, box));
    this.marks.addLayer(this.cellsEl);
    this.frozen = new FrozenPanes(this);
    for (const layer of this.frozen.layers) this.marks.addLayer(layer.marks);
    this.locked = false; // a dialog is up: the grid answers only a picker
    this.picker = null; // { pick(box, final) } while a reference box or a prompt takes a range
    this.onSelect = () => {};
    this.onCells = () => {};
    this.onKey = () => false; // a key the page takes before the grid moves (an edit)
    this.edgeOf = async (from) => from; // where Ctrl+Arrow ("up"...) or Ctrl+End ("end") goes
    this.listen();
  }

  // Shows a sheet (its index and name): its layout, its cells from the server, the selection.
  show(sheet, name, layout, box) {
    this.sheet = sheet;
    this.sheetName = name;
    this.store = new CellStore(sheet, (tile) => this.tileArrived(tile));
    this.measure(layout);
    this.changedBoxes = [];
    this.selectBox(box, false);
    this.update();
  }

  // After a run or an undo: the same sheet's cells and layout afresh.
  refresh(layout) {
    this.measure(layout);
    this.store.refresh();
    this.update();
  }

  // The sheet's rows and columns in pixels, and the scrolled area as large as they make it;
  // everything drawn before is drawn again. A change to the sheet, or another sheet, ends a cut.
  measure(layout) {
    this.showCut(null);
    this.geometry = new Geometry(layout);
    this.painter.reset(this.geometry, this.store);
    this.frozen.reset(this.geometry, this.store, layout.frozen);
    const { width, height } = this.geometry;
    this.sheetEl.style.width = `${HEADER_WIDTH + width}px`;
    this.cellsEl.style.width = `${width}px`;
    this.columnsEl.style.width = `${width}px`;
    this.cellsEl.style.height = `${height}px`;
    this.rowsEl.style.height = `${height}px`;
  }

  setChanged(boxes) {
    this.changedBoxes = boxes;
    this.placeChanges();
  }

  selectedBox() {
    const box = rect(this.selection.anchor, this.selection.focus);
    if (this.selection.mode === "rows") Object.assign(box, { left: 1, right: COLUMNS });
    if (this.selection.mode === "columns") Object.assign(box, { top: 1, bottom: ROWS });
    return box;
  }

  activeCell() {
    return this.store?.cell(this.selection.anchor.r, this.selection.anchor.c);
  }

  // What the active cell holds as it was typed: its formula, its constant, "" when empty.
  activeEntry() {
    const cell = this.activeCell();
    return cell ? cell.formula ?? cell.entry ?? cell.text ?? "" : "";
  }

  // Selects a rectangle, its top-left the active cell, and brings it into view.
  selectBox(box, notify = true) {
    const whole = (lo, hi, max) => lo === 1 && hi === max;
    const mode = whole(box.top, box.bottom, ROWS) && !whole(box.left, box.right, COLUMNS)
      ? "columns"
      : whole(box.left, box.right, COLUMNS) && !whole(box.top, box.bottom, ROWS) ? "rows" : "cells";
    this.selection = {
      anchor: { r: box.top, c: box.left },
      focus: { r: box.bottom, c: box.right },
      mode,
    };
    this.reveal(this.selection.anchor);
    this.placeSelection();
    if (notify) this.onSelect(this.selectedBox(), true);
  }

  // A range as a reference box writes it: absolute, with the sheet's name when asked.
  reference(box, withSheet) {
    return (withSheet ? sheetPrefix(this.sheetName) : "") + rectAddress(box, true);
  }

  // The range a reference box is taking, or none.
  showMarquee(box) {
    this.marks.set("marquee", box ? [box] : []);
  }

  // The moving border of the cells cut, or none.
  showCut(box) {
    this.cutBox = box;
    this.marks.set("cut-mark", box ? [box] : []);
  }

  // Scrolls so the cell is in view.
  reveal({ r, c }) {
    const g = this.geometry;
    const vp = this.viewport;
    const height = vp.clientHeight - HEADER_HEIGHT;
    const width = vp.clientWidth - HEADER_WIDTH;
    // A cell past the frozen panes comes out from under them.
    const under = { top: r > this.frozen.rows ? this.frozen.height : 0, left: c > this.frozen.columns ? this.frozen.width : 0 };
    if (g.top(r) - under.top < vp.scrollTop) vp.scrollTop = g.top(r) - under.top;
    else if (g.top(r) + g.rowHeight(r) > vp.scrollTop + height) {
      vp.scrollTop = g.top(r) + g.rowHeight(r) - height;
    }
    if (g.left(c) - under.left < vp.scrollLeft) vp.scrollLeft = g.left(c) - under.left;
    else if (g.left(c) + g.columnWidth(c) > vp.scrollLeft + width) {
      vp.scrollLeft = g.left(c) + g.columnWidth(c) - width;
    }
  }

  visibleBox() {
    const vp = this.viewport;
    const g = this.geometry;
    return {
      top: g.rowAt(vp.scrollTop),
      bottom: g.rowAt(vp.scrollTop + Math.max(0, vp.clientHeight - HEADER_HEIGHT - 1)),
      left: g.columnAt(vp.scrollLeft),
      right: g.columnAt(vp.scrollLeft + Math.max(0, vp.clientWidth - HEADER_WIDTH - 1)),
    };
  }

  // Draws the chunks in view and a chunk around them, and asks for their cells.
  update() {
    if (!this.store) return;
    const view = this.visibleBox();
    const around = {
      top: Math.max(1, view.top - TILE_ROWS),
      bottom: Math.min(ROWS, view.bottom + TILE_ROWS),
      left: Math.max(1, view.left - TILE_COLUMNS),
      right: Math.min(COLUMNS, view.right + TILE_COLUMNS),
    };
    this.store.want(around);
    const headersDrawn = this.painter.show(around, view);
    this.frozen.show(around);
    if (headersDrawn) this.placeSelection();
  }

  tileArrived(tile) {
    this.painter.redrawTile(tile);
    this.frozen.redrawTile(tile);
    this.placeSelection();
    this.onCells();
  }

  place(el, box) {
    const g = this.geometry;
    const top = g.top(box.top);
    const left = g.left(box.left);
    el.style.top = `${top - 1}px`;
    el.style.left = `${left - 1}px`;
    el.style.height = `${g.top(box.bottom) + g.rowHeight(box.bottom) - top + 1}px`;
    el.style.width = `${g.left(box.right) + g.columnWidth(box.right) - left + 1}px`;
  }

  placeSelection() {
    const sel = this.selectedBox();
    this.marks.set("selection", [sel]);
    for (const el of this.sheetEl.querySelectorAll(".rh")) {
      const r = Number(el.dataset.r);
      el.classList.toggle("on", r >= sel.top && r <= sel.bottom);
    }
    for (const el of this.sheetEl.querySelectorAll(".ch")) {
      const c = Number(el.dataset.c);
      el.classList.toggle("on", c >= sel.left && c <= sel.right);
    }
  }

  placeChanges() {
    this.marks.set("changed-range", this.changedBoxes);
  }

  // The cell under a point of the window; a point past the visible cells counts as the edge
  // cell, so a drag out of the grid keeps selecting while the grid scrolls.
  cellAt(clientX, clientY) {
    const frame = this.cellsEl.getBoundingClientRect();
    const vp = this.viewport;
    const x = clamp(clientX - frame.left, vp.scrollLeft,
      vp.scrollLeft + vp.clientWidth - HEADER_WIDTH - 1);
    const y = clamp(clientY - frame.top, vp.scrollTop,
      vp.scrollTop + vp.clientHeight - HEADER_HEIGHT - 1);
    const point = this.frozen.unscrolled(x, y, vp.scrollLeft, vp.scrollTop);
    return { r: this.geometry.rowAt(point.y), c: this.geometry.columnAt(point.x) };
  }

  listen() {
    this.viewport.addEventListener("scroll", () => this.update(), { passive: true });
    new ResizeObserver(() => this.update()).observe(this.viewport);
    const start = (mode) => (event) => {
      if (event.button !== 0) return;
      if (this.locked && !this.picker) return;
      event.preventDefault(); // a reference box keeps the focus
      if (!this.picker) this.viewport.focus({ preventScroll: true });
      this.drag(event, mode);
    };
    this.startCells = start("cells");
    this.cellsEl.addEventListener("mousedown", this.startCells);
    this.rowsEl.addEventListener("mousedown", start("rows"));
    this.columnsEl.addEventListener("mousedown", start("columns"));
    this.sheetEl.querySelector(".corner").addEventListener("mousedown", (event) => {
      if (event.button !== 0 || (this.locked && !this.picker)) return;
      event.preventDefault();
      this.selection = { anchor: { r: 1, c: 1 }, focus: { r: ROWS, c: COLUMNS }, mode: "cells" };
      this.finishDrag(this.selectedBox());
    });
    // Keys of the grid itself, not of a cell being edited inside it.
    this.viewport.addEventListener("keydown", (event) => event.target === this.viewport && this.key(event));
  }

  // A drag on the cells, the row headers or the column headers: a selection of cells, rows or
  // columns, or, while a picker waits, a range for it.
  drag(event, mode) {
    const picking = this.picker;
    let point = { x: event.clientX, y: event.clientY };
    const here = this.cellAt(point.x, point.y);
    // Shift stretches the selection, or the range being picked, from its first corner.
    let anchor = { ...here };
    if (event.shiftKey && picking?.anchor) anchor = picking.anchor;
    else if (event.shiftKey && !picking && mode === this.selection.mode) anchor = this.selection.anchor;
    if (picking) picking.anchor = anchor;
    const boxTo = (cell) => {
      const box = rect(anchor, cell);
      if (mode === "rows") Object.assign(box, { left: 1, right: COLUMNS });
      if (mode === "columns") Object.assign(box, { top: 1, bottom: ROWS });
      return box;
    };
    const track = (cell) => {
      if (picking) {
        const box = boxTo(cell);
        this.showMarquee(box);
        picking.pick(box, false);
      } else {
        this.selection = { anchor, focus: cell, mode };
        this.placeSelection();
        this.onSelect(this.selectedBox(), false);
      }
    };
    track(here);
    let frame = 0;
    const scrollStep = () => {
      const bounds = this.viewport.getBoundingClientRect();
      const dx = point.x < bounds.left + HEADER_WIDTH ? point.x - bounds.left - HEADER_WIDTH
        : point.x > bounds.right ? point.x - bounds.right : 0;
      const dy = point.y < bounds.top + HEADER_HEIGHT ? point.y - bounds.top - HEADER_HEIGHT
        : point.y > bounds.bottom ? point.y - bounds.bottom : 0;
      if (dx || dy) {
        this.viewport.scrollBy(clamp(dx, -60, 60), clamp(dy, -60, 60));
        track(this.cellAt(point.x, point.y));
      }
      frame = requestAnimationFrame(scrollStep);
    };
    frame = requestAnimationFrame(scrollStep);
    const move = (e) => {
      point = { x: e.clientX, y: e.clientY };
      track(this.cellAt(point.x, point.y));
    };
    const up = () => {
      cancelAnimationFrame(frame);
      window.removeEventListener("mousemove", move);
      window.removeEventListener("mouseup", up);
      const cell = this.cellAt(point.x, point.y);
      if (picking) picking.pick(boxTo(cell), true);
      else this.finishDrag(this.selectedBox());
    };
    window.addEventListener("mousemove", move);
    window.addEventListener("mouseup", up);
  }

  finishDrag(box) {
    this.placeSelection();
    this.onSelect(box, true);
  }

  // Arrow keys move the active cell, with Shift they stretch the selection; Page keys move a
  // screen; Ctrl+Home goes to A1, Ctrl+End to the last cell of the data, Ctrl+Arrow to the edge
  // of the data that way (edgeOf asks the workbook), Ctrl+A selects the sheet.
  key(event) {
    if (this.locked || this.onKey(event)) return;
    const view = this.visibleBox();
    const page = Math.max(1, view.bottom - view.top);
    const back = event.shiftKey ? -1 : 1; // Shift+Enter goes up, Shift+Tab left
    const moves = {
      ArrowUp: [-1, 0], ArrowDown: [1, 0], ArrowLeft: [0, -1], ArrowRight: [0, 1],
      Enter: [back, 0], Tab: [0, back], PageUp: [-page, 0], PageDown: [page, 0],
    };
    let target;
    const stretching = event.shiftKey && !["Enter", "Tab"].includes(event.key);
    const from = stretching ? this.selection.focus : this.selection.anchor;
    const ways = { ArrowUp: "up", ArrowDown: "down", ArrowLeft: "left", ArrowRight: "right" };
    if (event.ctrlKey && event.key.toLowerCase() === "a") {
      event.preventDefault();
      this.selectBox({ top: 1, left: 1, bottom: ROWS, right: COLUMNS });
      return;
    }
    if (event.ctrlKey && (ways[event.key] || event.key === "End")) {
      event.preventDefault();
      this.edgeOf(from, ways[event.key] ?? "end").then((edge) => this.moveTo(edge, stretching));
      return;
    }
    if (event.key === "Home" && event.ctrlKey) target = { r: 1, c: 1 };
    else if (event.key === "Home") target = { r: from.r, c: 1 };
    else if (moves[event.key]) {
      const [dr, dc] = moves[event.key];
      target = { r: clamp(from.r + dr, 1, ROWS), c: clamp(from.c + dc, 1, COLUMNS) };
      // Hidden rows and columns are stepped over.
      while (this.geometry.rowHeight(target.r) === 0 && target.r > 1 && target.r < ROWS) target.r += Math.sign(dr) || 1;
      while (this.geometry.columnWidth(target.c) === 0 && target.c > 1 && target.c < COLUMNS) target.c += Math.sign(dc) || 1;
    } else return;
    event.preventDefault();
    this.moveTo(target, stretching);
  }

  // The active cell moved there, or the selection stretched to it.
  moveTo(target, stretching) {
    this.selection = stretching
      ? { ...this.selection, focus: target }
      : { anchor: target, focus: target, mode: "cells" };
    this.reveal(target);
    this.placeSelection();
    this.onSelect(this.selectedBox(), true);
  }
}
