import { get } from "./api.js";

// The cells of one sheet, fetched in tiles as the grid needs them and kept for a while;
// onLoad(name) hears of each tile that arrives.
export const TILE_ROWS = 64;
export const TILE_COLUMNS = 16;
const KEPT_TILES = 300;
const IN_FLIGHT = 4;

const key = (r, c) => r * 512 + c;

function* tileNames(box) {
  const tr1 = Math.floor((box.bottom - 1) / TILE_ROWS);
  const tc1 = Math.floor((box.right - 1) / TILE_COLUMNS);
  for (let tr = Math.floor((box.top - 1) / TILE_ROWS); tr <= tr1; tr++) {
    for (let tc = Math.floor((box.left - 1) / TILE_COLUMNS); tc <= tc1; tc++) yield `${tr},${tc}`;
  }
}

export class CellStore {
  constructor(sheet, onLoad) {
    this.sheet = sheet;
    this.onLoad = onLoad;
    this.tiles = new Map(); // "tr,tc" -> Map(key -> cell)
    this.stale = new Map(); // the tiles before the last refresh, shown until fresh ones come
    this.pending = new Set();
    this.wanted = [];
    this.generation = 0;
  }

  tile(name) {
    return this.tiles.get(name) ?? this.stale.get(name);
  }

  cell(r, c) {
    return this.tile([...tileNames({ top: r, bottom: r, left: c, right: c })][0])?.get(key(r, c));
  }

  // The known cells of a block.
  *cellsIn(box) {
    for (const name of tileNames(box)) {
      for (const cell of this.tile(name)?.values() ?? []) {
        if (cell.r >= box.top && cell.r <= box.bottom && cell.c >= box.left && cell.c <= box.right) {
          yield cell;
        }
      }
    }
  }

  // Asks for the block's tiles not yet here. Tiles asked for earlier and no longer in view are
  // dropped, so a fast scroll fetches only where it stops.
  want(box) {
    this.wanted = [...tileNames(box)].filter((n) => !this.tiles.has(n) && !this.pending.has(n));
    this.pump();
  }

  pump() {
    while (this.pending.size < IN_FLIGHT && this.wanted.length > 0) this.fetch(this.wanted.shift());
  }

  async fetch(name) {
    const [tr, tc] = name.split(",").map(Number);
    const generation = this.generation;
    const query = `sheet=${this.sheet}&top=${tr * TILE_ROWS + 1}&left=${tc * TILE_COLUMNS + 1}` +
      `&bottom=${(tr + 1) * TILE_ROWS}&right=${(tc + 1) * TILE_COLUMNS}`;
    this.pending.add(name);
    try {
      const { cells } = await get(`/api/cells?${query}`);
      if (generation !== this.generation) return;
      this.tiles.set(name, new Map(cells.map((cell) => [key(cell.r, cell.c), cell])));
      this.stale.delete(name);
      while (this.tiles.size > KEPT_TILES) this.tiles.delete(this.tiles.keys().next().value);
      this.onLoad(name);
    } catch (error) {
      console.warn("cells", query, error.message);
    } finally {
      if (generation === this.generation) this.pending.delete(name);
      this.pump();
    }
  }

  // After a run, an undo or an upload: every tile is fetched afresh, the old ones shown meanwhile.
  refresh() {
    this.generation++;
    this.stale = new Map([...this.stale, ...this.tiles].slice(-KEPT_TILES));
    this.tiles = new Map();
    this.pending.clear();
    this.wanted = [];
  }
}
