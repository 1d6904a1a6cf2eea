import { Painter } from "./painter.js";

// Frozen panes as the workbook stores them: the first rows stay at the top and the first
// columns at the left while the sheet scrolls. Each is a layer of its own drawn by a painter of
// its own, inside the header that already sticks that way (the column header for the rows, the
// row header for the columns, the corner for both), so the browser keeps them in place as it
// scrolls. A press on them selects the cells under them.
const HEADER_WIDTH = 44;
const HEADER_HEIGHT = 20;

export class FrozenPanes {
  constructor(grid) {
    this.grid = grid;
    this.rows = 0;
    this.columns = 0;
    const sheet = grid.sheetEl;
    const corner = sheet.querySelector(".corner");
    // The corner's painter draws the frozen rows' and columns' labels too.
    this.labels = ["frozen-row-labels", "frozen-column-labels"].map((name) => {
      const el = document.createElement("div");
      el.className = `frozen-labels ${name}`;
      corner.append(el);
      return el;
    });
    this.layers = [
      this.layer(sheet.querySelector(".column-header"), "frozen-rows"),
      this.layer(grid.rowsEl, "frozen-columns"),
      this.layer(corner, "frozen-corner", this.labels),
    ];
  }

  // A pane's layer: its cells, and above them the marks the grid draws (marks.js).
  layer(parent, className, [rows, columns] = []) {
    const el = document.createElement("div");
    el.className = `frozen ${className}`;
    el.hidden = true;
    const [cells, marks] = ["frozen-cells", "frozen-marks"].map((name) => {
      const part = document.createElement("div");
      part.className = name;
      el.append(part);
      return part;
    });
    parent.append(el);
    el.addEventListener("mousedown", (event) => {
      event.stopPropagation();
      this.grid.startCells(event);
    });
    const dummy = () => document.createElement("div");
    return { el, marks, painter: new Painter({ content: cells, rows: rows ?? dummy(), columns: columns ?? dummy(), named: false }) };
  }

  // A sheet's panes: `frozen` {rows, columns} from its layout, or none.
  reset(geometry, store, frozen) {
    this.geometry = geometry;
    this.rows = frozen?.rows ?? 0;
    this.columns = frozen?.columns ?? 0;
    this.height = this.rows ? geometry.top(this.rows + 1) : 0;
    this.width = this.columns ? geometry.left(this.columns + 1) : 0;
    const [top, left, corner] = this.layers;
    const place = (layer, shown, style) => {
      layer.el.hidden = !shown;
      Object.assign(layer.el.style, style);
      layer.painter.reset(geometry, store);
    };
    place(top, this.rows > 0, { top: `${HEADER_HEIGHT}px`, left: `${HEADER_WIDTH}px`, width: `${geometry.width}px`, height: `${this.height}px` });
    place(left, this.columns > 0, { top: "0px", left: `${HEADER_WIDTH}px`, width: `${this.width}px`, height: `${geometry.height}px` });
    const [rowLabels, columnLabels] = this.labels;
    Object.assign(rowLabels.style, { top: `${HEADER_HEIGHT}px`, height: `${this.height}px` });
    Object.assign(columnLabels.style, { left: `${HEADER_WIDTH}px`, width: `${this.width}px` });
    place(corner, this.rows > 0 || this.columns > 0, { top: `${HEADER_HEIGHT}px`, left: `${HEADER_WIDTH}px`, width: `${this.width}px`, height: `${this.height}px` });
  }

  // The frozen parts of the block drawn about the view.
  show(around) {
    const [top, left, corner] = this.layers;
    const rows = { ...around, top: 1, bottom: Math.max(1, this.rows) };
    const columns = { ...around, left: 1, right: Math.max(1, this.columns) };
    if (this.rows) top.painter.show(rows, rows);
    if (this.columns) left.painter.show(columns, columns);
    const both = { top: 1, bottom: Math.max(1, this.rows), left: 1, right: Math.max(1, this.columns) };
    if (this.rows || this.columns) corner.painter.show(both, both);
  }

  redrawTile(tile) {
    for (const { painter } of this.layers) painter.redrawTile(tile);
  }

  // A point of the view (from the cells' top-left corner in view) that falls on a frozen part
  // stands for that part's cells, whatever the scroll.
  unscrolled(x, y, scrollLeft, scrollTop) {
    return { x: x - scrollLeft < this.width ? x - scrollLeft : x, y: y - scrollTop < this.height ? y - scrollTop : y };
  }
}
