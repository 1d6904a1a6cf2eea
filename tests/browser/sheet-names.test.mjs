// The page writes sheet names before an address by the host's rule: the same table of names the
// server's tests read, run through the page's own module.
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { test } from "node:test";
import { sheetOf, sheetPrefix } from "../../web/address.js";

const table = fs
  .readFileSync(path.resolve(import.meta.dirname, "../data/sheet-prefixes.tsv"), "utf8")
  .split("\n")
  .filter((line) => line.includes("\t") && !line.startsWith("#"))
  .map((line) => line.split("\t"));

test("every sheet name is written as the table says, and reads back as itself", () => {
  assert.ok(table.length >= 30);
  for (const [name, prefix] of table) {
    assert.equal(sheetPrefix(name), prefix, name);
    assert.equal(sheetOf(`${prefix}B2`), name, prefix);
  }
});
