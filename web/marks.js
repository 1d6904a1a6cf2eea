// What the grid draws over the cells, in this order: the last run's changed ranges, the
// selection, the moving border of cut cells and the range a reference box is taking. Each is
// drawn in the scrolled cells and again in every frozen pane, which lies over them and clips its
// own copy, so a selection that reaches into frozen rows shows there as the host shows it.
const KINDS = ["changed-range", "selection", "cut-mark", "marquee"];

export class Marks {
  // `place(el, box)` puts an element over a block of cells.
  constructor(place) {
    this.place = place;
    this.layers = [];
  }

  // A layer drawn into: a holder of its own for each kind inside `parent`.
  addLayer(parent) {
    const holders = Object.fromEntries(KINDS.map((kind) => {
      const el = document.createElement("div");
      el.className = `${kind}s`;
      parent.append(el);
      return [kind, el];
    }));
    this.layers.push(holders);
  }

  // The boxes of a kind, in place of those drawn before.
  set(kind, boxes) {
    for (const layer of this.layers) {
      const holder = layer[kind];
      while (holder.children.length > boxes.length) holder.lastChild.remove();
      while (holder.children.length < boxes.length) {
        const el = document.createElement("div");
        el.className = kind;
        holder.append(el);
      }
      boxes.forEach((box, i) => this.place(holder.children[i], box));
    }
  }
}
