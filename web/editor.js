// Editing a cell as the host does: typing over it, F2 or a double-click to edit what it holds,
// or the formula bar. Enter and Tab keep the entry and move on (with Shift, back), a click
// elsewhere keeps it, Esc leaves the cell as it was, Alt+Enter starts a new line. `commit(box,
// text)` writes an entry that differs from what the cell held; the grid then moves as the key
// says.
export class CellEditor {
  constructor(grid, formulaBar, commit) {
    this.grid = grid;
    this.bar = formulaBar;
    this.commit = commit;
    this.box = null; // the cell being edited
    this.field = document.createElement("textarea");
    this.field.className = "cell-editor";
    this.field.spellcheck = false;
    this.field.hidden = true;
    this.field.setAttribute("aria-label", "编辑单元格");
    grid.cellsEl.append(this.field);
    this.field.addEventListener("keydown", (event) => this.key(event, this.field));
    this.field.addEventListener("input", () => (this.bar.textContent = this.field.value));
    this.field.addEventListener("blur", () => this.finish(true));
    this.field.addEventListener("mousedown", (event) => event.stopPropagation());
    this.bar.contentEditable = "plaintext-only";
    this.bar.addEventListener("focus", () => this.begin(this.grid.activeEntry(), this.bar));
    this.bar.addEventListener("keydown", (event) => this.key(event, this.bar));
    this.bar.addEventListener("blur", () => this.finish(true));
    grid.cellsEl.addEventListener("dblclick", () => this.startInCell(this.grid.activeEntry()));
  }

  get editing() {
    return this.box !== null;
  }

  // A key on the grid that starts an edit: a character types over the cell, F2 edits it.
  gridKey(event) {
    if (this.grid.locked || event.ctrlKey || event.altKey || event.metaKey) return false;
    if (event.key === "F2") this.startInCell(this.grid.activeEntry());
    else if (event.key.length === 1) this.startInCell(event.key);
    else return false;
    event.preventDefault();
    return true;
  }

  startInCell(text) {
    if (this.grid.locked) return;
    const cell = { r: this.grid.selection.anchor.r, c: this.grid.selection.anchor.c };
    const g = this.grid.geometry;
    Object.assign(this.field.style, {
      top: `${g.top(cell.r)}px`,
      left: `${g.left(cell.c)}px`,
      minWidth: `${g.columnWidth(cell.c)}px`,
      minHeight: `${g.rowHeight(cell.r)}px`,
    });
    this.field.value = text;
    this.field.hidden = false;
    this.begin(text, this.field);
    this.field.focus();
    this.field.setSelectionRange(text.length, text.length);
  }

  // An edit begun ends a cut's mark, as in the host.
  begin(text, where) {
    if (this.box) return;
    this.grid.showCut(null);
    const { r, c } = this.grid.selection.anchor;
    this.box = { top: r, bottom: r, left: c, right: c };
    this.original = this.grid.activeEntry();
    this.where = where;
    this.bar.textContent = text;
  }

  key(event, where) {
    const text = () => (where === this.field ? this.field.value : this.bar.textContent);
    if (event.key === "Escape") {
      this.finish(false);
    } else if (event.key === "Enter" && event.altKey) {
      if (where === this.field) this.field.setRangeText("\n", this.field.selectionStart, this.field.selectionEnd, "end");
      else document.execCommand("insertLineBreak");
      this.bar.textContent = text();
    } else if (event.key === "Enter" || event.key === "Tab") {
      this.finish(true);
      this.grid.key({ key: event.key, shiftKey: event.shiftKey, preventDefault() {} });
    } else return;
    event.preventDefault();
  }

  // Keeps or drops the entry; the grid has the keyboard again.
  finish(keep) {
    if (!this.box) return;
    const box = this.box;
    const text = this.where === this.field ? this.field.value : this.bar.textContent;
    this.box = null;
    this.field.hidden = true;
    this.grid.viewport.focus({ preventScroll: true });
    if (keep && text !== this.original) this.commit(box, text);
    else this.bar.textContent = this.grid.activeEntry();
  }
}
