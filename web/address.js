// A1 addresses of the sheet's 65536 rows and 256 columns (A to IV).
export const ROWS = 65536;
export const COLUMNS = 256;

export function columnName(c) {
  let name = "";
  for (let n = c; n > 0; n = Math.floor((n - 1) / 26)) {
    name = String.fromCharCode(65 + ((n - 1) % 26)) + name;
  }
  return name;
}

function columnNumber(letters) {
  let n = 0;
  for (const ch of letters.toUpperCase()) n = n * 26 + (ch.charCodeAt(0) - 64);
  return n;
}

// A rectangle of cells, corners included, 1-based.
export function rect(a, b) {
  return {
    top: Math.min(a.r, b.r),
    left: Math.min(a.c, b.c),
    bottom: Math.max(a.r, b.r),
    right: Math.max(a.c, b.c),
  };
}

// "A1", "A1:B3", whole columns "A:C", whole rows "2:5"; with $ signs when absolute.
export function rectAddress(box, absolute = false) {
  const d = absolute ? "$" : "";
  const wholeColumns = box.top === 1 && box.bottom === ROWS;
  const wholeRows = box.left === 1 && box.right === COLUMNS;
  if (wholeColumns && !wholeRows) {
    return `${d}${columnName(box.left)}:${d}${columnName(box.right)}`;
  }
  if (wholeRows && !wholeColumns) return `${d}${box.top}:${d}${box.bottom}`;
  const first = `${d}${columnName(box.left)}${d}${box.top}`;
  if (box.top === box.bottom && box.left === box.right) return first;
  return `${first}:${d}${columnName(box.right)}${d}${box.bottom}`;
}

// A sheet name as an address writes it: as it is when it is a plain name, else in apostrophes
// with every apostrophe inside doubled. A plain name starts with a letter, "_" or a character
// past ASCII, goes on with those, digits and ".", and reads as no cell in A1 ("IW1") or R1C1
// ("R", "RC", "r2c3"). The server writes names by the same rule; tests/data/sheet-prefixes.tsv
// holds the cases both are checked against.
export function sheetPrefix(name) {
  const plain = /^[A-Za-z_\u0080-\u{10FFFF}][A-Za-z0-9_.\u0080-\u{10FFFF}]*$/u.test(name) &&
    !/^[A-Za-z]{1,3}[0-9]+$/.test(name) && !/^(R[0-9]*)?(C[0-9]*)?$/i.test(name);
  return plain ? `${name}!` : `'${name.replaceAll("'", "''")}'!`;
}

// The sheet an address names ("Sheet1" of "Sheet1!A1", "It's" of "'It''s'!A1"), or null.
export function sheetOf(text) {
  const bang = text.lastIndexOf("!");
  if (bang < 0) return null;
  return text.slice(0, bang).trim().replace(/^'(.*)'$/, "$1").replaceAll("''", "'");
}

const corner = /^\$?([A-Za-z]{1,3})?\$?(\d+)?$/;

function readCorner(text) {
  const m = corner.exec(text.trim());
  if (!m || (!m[1] && !m[2])) return null;
  return { c: m[1] ? columnNumber(m[1]) : null, r: m[2] ? Number(m[2]) : null };
}

// The rectangle an address names ("B2", "a1:c3", "$A$1", "C:D", "3:4", "Sheet1!A1"), or null.
export function parseAddress(text) {
  const parts = text.slice(text.lastIndexOf("!") + 1).split(":");
  if (parts.length > 2) return null;
  const a = readCorner(parts[0]);
  const b = parts.length === 2 ? readCorner(parts[1]) : a;
  if (!a || !b) return null;
  const kind = (p) => (p.c === null ? "row" : p.r === null ? "column" : "cell");
  if (kind(a) !== kind(b) || (parts.length === 1 && kind(a) !== "cell")) return null;
  const box = rect({ r: a.r ?? 1, c: a.c ?? 1 }, { r: b.r ?? ROWS, c: b.c ?? COLUMNS });
  const inside = box.top >= 1 && box.bottom <= ROWS && box.left >= 1 && box.right <= COLUMNS;
  return inside ? box : null;
}
