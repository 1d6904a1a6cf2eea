// Column and row borders in the headers: a drag resizes the column or row to their left or
// above, a double-click fits it to its cells. `size({column, width} | {row, height} |
// {column, fit} | {row, fit})` asks for it; widths in characters and heights in points, as
// the workbook stores them.
const GRIP = 4;

export function listenForResize(grid, size) {
  const at = (event, kind) => {
    const g = grid.geometry;
    const frame = grid.cellsEl.getBoundingClientRect();
    if (kind === "column") {
      const x = event.clientX - frame.left;
      const c = g.columnAt(x);
      if (g.left(c) + g.columnWidth(c) - x <= GRIP) return { index: c, start: g.left(c), pixels: g.columnWidth(c) };
      if (x - g.left(c) <= GRIP && c > 1) return { index: c - 1, start: g.left(c - 1), pixels: g.columnWidth(c - 1) };
    } else {
      const y = event.clientY - frame.top;
      const r = g.rowAt(y);
      if (g.top(r) + g.rowHeight(r) - y <= GRIP) return { index: r, start: g.top(r), pixels: g.rowHeight(r) };
      if (y - g.top(r) <= GRIP && r > 1) return { index: r - 1, start: g.top(r - 1), pixels: g.rowHeight(r - 1) };
    }
    return null;
  };
  for (const [el, kind] of [[grid.columnsEl, "column"], [grid.rowsEl, "row"]]) {
    el.addEventListener("mousemove", (event) => {
      el.style.cursor = at(event, kind) ? (kind === "column" ? "col-resize" : "row-resize") : "";
    });
    el.addEventListener("dblclick", (event) => {
      const border = at(event, kind);
      if (border && !grid.locked) size({ [kind]: border.index, fit: true });
    });
    // Capture: a press on a border resizes, it does not select.
    el.addEventListener("mousedown", (event) => {
      const border = at(event, kind);
      if (!border || event.button !== 0 || grid.locked) return;
      event.stopPropagation();
      event.preventDefault();
      drag(event, kind, border, grid, size);
    }, true);
  }
}

function drag(event, kind, border, grid, size) {
  const origin = kind === "column" ? event.clientX : event.clientY;
  const guide = document.createElement("div");
  guide.className = `resize-guide ${kind}`;
  grid.cellsEl.append(guide);
  let pixels = border.pixels;
  const place = () => {
    if (kind === "column") guide.style.left = `${border.start + pixels}px`;
    else guide.style.top = `${border.start + pixels}px`;
  };
  place();
  const move = (e) => {
    pixels = Math.max(0, border.pixels + (kind === "column" ? e.clientX : e.clientY) - origin);
    place();
  };
  const up = () => {
    window.removeEventListener("mousemove", move);
    window.removeEventListener("mouseup", up);
    guide.remove();
    if (pixels === border.pixels) return;
    // Back from pixels: width = (px - 5) / 7 characters, height = px × 3/4 points.
    if (kind === "column") size({ column: border.index, width: Math.max(0, Math.round(((pixels - 5) / 7) * 100) / 100) });
    else size({ row: border.index, height: Math.round(pixels * 0.75 * 100) / 100 });
  };
  window.addEventListener("mousemove", move);
  window.addEventListener("mouseup", up);
}
