import { COLUMNS, ROWS, columnName } from "./address.js";
import { TILE_COLUMNS, TILE_ROWS } from "./cells.js";

// The sheet drawn in chunks, a chunk a tile of the cell store (64 rows by 16 columns), the row
// and column headers in bands of the same size. Only the chunks in view, with a margin of one
// chunk, are in the page: a scroll draws the chunks that came into view and drops the far
// ones, and a tile that arrives redraws its own chunk (and the one to its left, whose texts may
// run into it), so no frame draws the whole view again. A chunk is drawn in three layers, each
// in a layer of its own for all chunks: grid lines and fills, texts, borders; so a text runs
// over the fills of the cells beside it, and borders lie over both, without a stacking context
// for every cell.
const escapeHtml = (text) =>
  text.replace(/[&<>"]/g, (ch) => ({ "&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;" })[ch]);

// How far a text runs on over the empty cells to its right, in columns at most.
const RUN_ON = 2 * TILE_COLUMNS;

export class Painter {
  // `named`: the cells carry their address (data-cell); a frozen pane's copies do not.
  constructor({ content, rows, columns, named = true }) {
    this.content = content;
    this.named = named;
    this.rows = rows;
    this.columns = columns;
    this.reset(null, null);
  }

  // A sheet shown afresh: nothing of the last one stays.
  reset(geometry, store) {
    this.generation = (this.generation ?? 0) + 1;
    this.geometry = geometry;
    this.store = store;
    this.chunks = new Map(); // "tr,tc" -> its elements, a layer each
    this.wanted = new Set(); // the chunks the last block shown needs
    this.rowBands = new Map(); // tr -> element
    this.columnBands = new Map(); // tc -> element
    this.layers = ["lines", "texts", "borders"].map((name) => {
      const layer = document.createElement("div");
      layer.className = `layer ${name}`;
      return layer;
    });
    this.content.replaceChildren(...this.layers);
    this.rows.replaceChildren();
    this.columns.replaceChildren();
  }

  // The chunks of a block of the sheet, by name, with their row and column band.
  *names(box) {
    for (let tr = Math.floor((box.top - 1) / TILE_ROWS); tr <= Math.floor((box.bottom - 1) / TILE_ROWS); tr++) {
      for (let tc = Math.floor((box.left - 1) / TILE_COLUMNS); tc <= Math.floor((box.right - 1) / TILE_COLUMNS); tc++) {
        yield { name: `${tr},${tc}`, tr, tc };
      }
    }
  }

  // Draws what the block needs and drops what lies beyond it; whether any headers were drawn.
  // The chunks in view are drawn at once, the others of the block when the page is idle.
  // Cheap when nothing is missing.
  show(box, view) {
    const wanted = (this.wanted = new Set());
    const inView = new Set([...this.names(view)].map((chunk) => chunk.name));
    let headers = false;
    for (const { name, tr, tc } of this.names(box)) {
      wanted.add(name);
      if (!this.chunks.has(name) && inView.has(name)) this.draw(tr, tc);
      else if (!this.chunks.has(name)) this.later(() => this.wanted.has(name) && !this.chunks.has(name) && this.draw(tr, tc));
      if (!this.rowBands.has(tr)) {
        this.rowBands.set(tr, this.append(this.rows, this.rowBandHtml(tr)));
        headers = true;
      }
      if (!this.columnBands.has(tc)) {
        this.columnBands.set(tc, this.append(this.columns, this.columnBandHtml(tc)));
        headers = true;
      }
    }
    const rowsWanted = new Set([...wanted].map((n) => Number(n.split(",")[0])));
    const columnsWanted = new Set([...wanted].map((n) => Number(n.split(",")[1])));
    this.drop(this.chunks, (name) => !wanted.has(name));
    this.drop(this.rowBands, (tr) => !rowsWanted.has(tr));
    this.drop(this.columnBands, (tc) => !columnsWanted.has(tc));
    return headers;
  }

  // The chunk of a tile that arrived drawn again if in the page, and the one to its left, whose
  // texts may run into it, when the page is idle.
  redrawTile(name) {
    const [tr, tc] = name.split(",").map(Number);
    if (this.chunks.has(name)) this.draw(tr, tc);
    this.later(() => this.chunks.has(`${tr},${tc - 1}`) && this.draw(tr, tc - 1));
  }

  draw(tr, tc) {
    const name = `${tr},${tc}`;
    const fresh = this.chunkHtml(tr, tc).map((html, i) => this.append(this.layers[i], html, "chunk"));
    this.chunks.get(name)?.forEach((el) => el.remove());
    this.chunks.set(name, fresh);
  }

  // Work for an idle moment, one piece at a time; a sheet shown afresh forgets it.
  later(work) {
    const generation = this.generation;
    requestIdleCallback(() => generation === this.generation && work(), { timeout: 500 });
  }

  append(parent, html, className = "") {
    const el = document.createElement("div");
    el.className = className;
    el.innerHTML = html;
    parent.append(el);
    return el;
  }

  drop(map, far) {
    for (const [key, els] of map) {
      if (!far(key)) continue;
      [els].flat().forEach((el) => el.remove());
      map.delete(key);
    }
  }

  span(t, size, last) {
    return { first: t * size + 1, last: Math.min(last, (t + 1) * size) };
  }

  rowBandHtml(tr) {
    const g = this.geometry;
    const { first, last } = this.span(tr, TILE_ROWS, ROWS);
    const parts = [];
    for (let r = first; r <= last; r++) {
      const h = g.rowHeight(r);
      if (h > 0) parts.push(`<div class="rh" data-r="${r}" style="top:${g.top(r)}px;height:${h}px">${r}</div>`);
    }
    return parts.join("");
  }

  columnBandHtml(tc) {
    const g = this.geometry;
    const { first, last } = this.span(tc, TILE_COLUMNS, COLUMNS);
    const parts = [];
    for (let c = first; c <= last; c++) {
      const w = g.columnWidth(c);
      if (w > 0) parts.push(`<div class="ch" data-c="${c}" style="left:${g.left(c)}px;width:${w}px">${columnName(c)}</div>`);
    }
    return parts.join("");
  }

  // A chunk's grid lines and fills, its texts, and its borders. A text runs on over the empty
  // cells to its right, filled ones included, as the host shows it; a number stays in its cell,
  // right-aligned.
  chunkHtml(tr, tc) {
    const g = this.geometry;
    const rows = this.span(tr, TILE_ROWS, ROWS);
    const columns = this.span(tc, TILE_COLUMNS, COLUMNS);
    const x0 = g.left(columns.first);
    const x1 = g.left(columns.last) + g.columnWidth(columns.last);
    const y0 = g.top(rows.first);
    const y1 = g.top(rows.last) + g.rowHeight(rows.last);
    const parts = [this.linesHtml(rows, columns, { x0, x1, y0, y1 })];
    const box = { top: rows.first, bottom: rows.last, left: columns.first, right: columns.last };
    const texts = [];
    const borders = [];
    for (const cell of this.store?.cellsIn(box) ?? []) {
      const h = g.rowHeight(cell.r);
      const w = g.columnWidth(cell.c);
      if (h === 0 || w === 0) continue;
      parts.push(this.fillHtml(cell, w, h));
      texts.push(this.textHtml(cell, w, h));
      borders.push(this.borderHtml(cell, w, h));
    }
    return [parts.join(""), texts.join(""), borders.join("")];
  }

  // The chunk's grid lines: one box whose background repeats a line at the end of each row and
  // column when they are all of one size (the usual case), else a line each.
  linesHtml(rows, columns, { x0, x1, y0, y1 }) {
    const g = this.geometry;
    const sizes = (first, last, size) => new Set(Array.from({ length: last - first + 1 }, (_, i) => size(first + i)));
    const heights = sizes(rows.first, rows.last, (r) => g.rowHeight(r));
    const widths = sizes(columns.first, columns.last, (c) => g.columnWidth(c));
    if (heights.size === 1 && widths.size === 1 && !heights.has(0) && !widths.has(0)) {
      const [h] = heights;
      const [w] = widths;
      return `<div class="lines" style="left:${x0}px;top:${y0}px;width:${x1 - x0}px;height:${y1 - y0}px;` +
        `background-size:100% ${h}px,${w}px 100%"></div>`;
    }
    const parts = [];
    for (let r = rows.first; r <= rows.last; r++) {
      const h = g.rowHeight(r);
      if (h > 0) parts.push(`<div class="hl" style="top:${g.top(r) + h - 1}px;left:${x0}px;width:${x1 - x0}px"></div>`);
    }
    for (let c = columns.first; c <= columns.last; c++) {
      const w = g.columnWidth(c);
      if (w > 0) parts.push(`<div class="vl" style="left:${g.left(c) + w - 1}px;top:${y0}px;height:${y1 - y0}px"></div>`);
    }
    return parts.join("");
  }

  fillHtml(cell, w, h) {
    const where = `top:${this.geometry.top(cell.r)}px;left:${this.geometry.left(cell.c)}px;height:${h}px;width:${w}px`;
    const fill = cell.fill ? `<div class="fill" style="${where};background:${escapeHtml(cell.fill)}"></div>` : "";
    return fill + (cell.changed ? `<div class="changed-cell" style="${where}"></div>` : "");
  }

  // Over the grid lines around the cell, as the host draws a border.
  borderHtml(cell, w, h) {
    if (!cell.border) return "";
    const g = this.geometry;
    const [top, right, bottom, left] = cell.border.map((side) => escapeHtml(side || "none"));
    return `<div class="border" style="top:${g.top(cell.r) - 1}px;left:${left === "none" ? g.left(cell.c) : g.left(cell.c) - 1}px;` +
      `width:${w + 1}px;height:${h + 1}px;border-top:${top};border-right:${right};border-bottom:${bottom};border-left:${left}"></div>`;
  }

  textHtml(cell, w, h) {
    if (!cell.text) return "";
    const g = this.geometry;
    const left = g.left(cell.c);
    const where = `top:${g.top(cell.r)}px;left:${left}px;height:${h}px`;
    let end = left + w;
    if (!cell.number) {
      let c = cell.c + 1;
      while (c <= Math.min(COLUMNS, cell.c + RUN_ON) && !this.store.cell(cell.r, c)?.text) c++;
      end = g.left(c);
    }
    const classes = `cell${cell.number ? " num" : ""}${cell.bold ? " bold" : ""}`;
    const colour = cell.colour ? `;color:${escapeHtml(cell.colour)}` : "";
    const name = this.named ? ` data-cell="${columnName(cell.c)}${cell.r}"` : "";
    return `<div class="${classes}"${name} ` +
      `style="${where};width:${end - left}px${colour}">${escapeHtml(cell.text)}</div>`;
  }
}
