import { COLUMNS, ROWS } from "./address.js";

// Pixel edges of a sheet's rows and columns from its layout: ends[k] is where row (or column)
// k ends, ends[0] = 0; a hidden one ends where it starts.
function edges(count, defaultSize, overrides) {
  const sizes = new Float64Array(count + 1).fill(defaultSize);
  for (const [index, size] of overrides) {
    if (index >= 1 && index <= count) sizes[index] = size;
  }
  const ends = new Float64Array(count + 1);
  for (let k = 1; k <= count; k++) ends[k] = ends[k - 1] + sizes[k];
  return ends;
}

// The first index whose end lies past the offset: the row or column drawn there.
function indexAt(ends, offset) {
  let lo = 1;
  let hi = ends.length - 1;
  while (lo < hi) {
    const mid = (lo + hi) >> 1;
    if (ends[mid] > offset) hi = mid;
    else lo = mid + 1;
  }
  return lo;
}

const rowPixels = (points) => Math.round((points * 4) / 3);
const columnPixels = (width) => Math.trunc(width * 7 + 5);

export class Geometry {
  constructor(layout = {}) {
    const rows = (layout.rows ?? []).map((x) => [x.r, x.hidden ? 0 : rowPixels(x.height)]);
    const columns = (layout.columns ?? []).map((x) => [
      x.c,
      x.hidden ? 0 : columnPixels(x.width),
    ]);
    this.rowEnds = edges(ROWS, rowPixels(layout.defaultRowHeight ?? 12.75), rows);
    this.columnEnds = edges(COLUMNS, columnPixels(layout.defaultColumnWidth ?? 8.43), columns);
  }
  get width() {
    return this.columnEnds[COLUMNS];
  }
  get height() {
    return this.rowEnds[ROWS];
  }
  top(r) {
    return this.rowEnds[r - 1];
  }
  left(c) {
    return this.columnEnds[c - 1];
  }
  rowHeight(r) {
    return this.rowEnds[r] - this.rowEnds[r - 1];
  }
  columnWidth(c) {
    return this.columnEnds[c] - this.columnEnds[c - 1];
  }
  rowAt(y) {
    return indexAt(this.rowEnds, Math.max(0, y));
  }
  columnAt(x) {
    return indexAt(this.columnEnds, Math.max(0, x));
  }
}
