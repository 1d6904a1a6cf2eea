// Classic scrollbars, as Chromium on Windows draws them: the sheet tabs stay whole and clickable.
import assert from "node:assert/strict";
import path from "node:path";
import { after, before, test } from "node:test";
import { artefacts, openPage } from "./support.mjs";

let opened;
before(async () => (opened = await openPage({ width: 1366, height: 768, scrollbars: true })));
after(async () => opened?.close());

test("with classic scrollbars every sheet tab shows whole, and a click on its middle reaches it", async () => {
  const { page } = opened;
  const tabs = await page.$$eval(".sheet-tab", (els) => {
    const bar = document.getElementById("sheetbar").getBoundingClientRect();
    return els.map((el) => {
      const r = el.getBoundingClientRect();
      const hit = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);
      return { name: el.textContent, whole: r.top >= bar.top - 1 && r.bottom <= bar.bottom, reached: hit === el };
    });
  });
  await page.screenshot({ path: path.join(artefacts, "classic-scrollbars-1366.png") });
  assert.deepEqual(tabs, ["Sales", "Lookup", "Cross", "Zeros"].map((name) => ({ name, whole: true, reached: true })));
  const tabsBar = await page.$eval("#tabs", (el) => el.offsetHeight - el.clientHeight);
  assert.equal(tabsBar, 0, "the tabs have no scrollbar of their own");
});
