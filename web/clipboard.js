// The system clipboard as tab-separated text, the form desktop spreadsheets and text editors
// exchange: a row a line, cells split by tabs; a cell holding a tab, a line break or a quote is
// quoted, its quotes doubled.
export function toTabbed(rows) {
  const quoted = (text) => (/[\t\n\r"]/.test(text) ? `"${text.replaceAll('"', '""')}"` : text);
  return rows.map((row) => row.map(quoted).join("\t")).join("\r\n") + "\r\n";
}

export function fromTabbed(text) {
  const rows = [];
  let row = [];
  let cell = "";
  for (let i = 0; i < text.length; i++) {
    const ch = text[i];
    if (ch === '"' && cell === "") {
      const end = closingQuote(text, i + 1);
      if (end >= 0) {
        cell = text.slice(i + 1, end).replaceAll('""', '"');
        i = end;
        continue;
      }
    }
    if (ch === "\t") {
      row.push(cell);
      cell = "";
    } else if (ch === "\n" || ch === "\r") {
      if (ch === "\r" && text[i + 1] === "\n") i++;
      row.push(cell);
      rows.push(row);
      row = [];
      cell = "";
    } else cell += ch;
  }
  if (cell !== "" || row.length > 0) rows.push([...row, cell]);
  return rows;
}

// Where a quoted cell that starts at `from` ends: the quote followed by a tab, a line end or
// the end; -1 when the quote does not close (the cell is then taken as written).
function closingQuote(text, from) {
  for (let i = from; i < text.length; i++) {
    if (text[i] !== '"') continue;
    if (text[i + 1] === '"') {
      i++;
      continue;
    }
    return /^[\t\r\n]?$/.test(text[i + 1] ?? "") ? i : -1;
  }
  return -1;
}
