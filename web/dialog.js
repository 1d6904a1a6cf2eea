import { parseAddress, sheetOf } from "./address.js";
import { center, openWindow } from "./windows.js";

// A tool's dialog, as the host workbook shows it: one tab a tool, reference boxes that take the
// range dragged on the grid, text boxes, a check box, option buttons, and the button that runs
// the tool. `run(tool, controls)` starts the run; the dialog stays up until `close()`.

let serial = 0;

function refBox(field, grid, dialog) {
  const box = document.createElement("div");
  box.className = "refedit";
  const input = document.createElement("input");
  input.type = "text";
  input.spellcheck = false;
  input.value = field.value ?? "";
  const shrink = document.createElement("button");
  shrink.type = "button";
  shrink.className = "shrink";
  shrink.title = "折叠对话框";
  shrink.setAttribute("aria-label", "折叠对话框");
  shrink.textContent = "⇱";
  shrink.addEventListener("click", () => {
    const row = box.closest(".field");
    const collapsed = dialog.win.classList.toggle("collapsed");
    row.classList.toggle("kept", collapsed);
    shrink.textContent = collapsed ? "⇲" : "⇱";
    input.focus();
  });
  input.addEventListener("focus", () => {
    grid.picker = {
      pick(range, final) {
        input.value = grid.reference(range, true);
        dialog.win.classList.toggle("picking", !final);
        if (final) {
          input.focus();
          input.select();
        }
      },
    };
    const range = parseAddress(input.value);
    const sheet = sheetOf(input.value) ?? grid.sheetName;
    grid.showMarquee(range && sheet === grid.sheetName ? range : null);
  });
  box.append(input, shrink);
  return { element: box, input, read: () => input.value };
}

function field(described, grid, dialog, page) {
  const row = document.createElement("div");
  row.className = `field ${described.kind}`;
  row.dataset.control = described.control;
  const id = `f${++serial}`;
  let control;
  if (described.kind === "ref") {
    control = refBox(described, grid, dialog);
    control.input.id = id;
  } else if (described.kind === "text") {
    const input = document.createElement("input");
    input.type = "text";
    input.id = id;
    input.value = described.value ?? "";
    control = { element: input, input, read: () => input.value };
  } else {
    const input = document.createElement("input");
    input.type = described.kind === "check" ? "checkbox" : "radio";
    input.id = id;
    input.checked = described.value === true;
    if (described.kind === "option") input.name = `${page}-${described.group ?? "options"}`;
    control = { element: input, input, read: () => input.checked };
  }
  const label = document.createElement("label");
  label.htmlFor = id;
  label.textContent = described.label ?? described.control;
  if (described.kind === "check" || described.kind === "option") row.append(control.element, label);
  else row.append(label, control.element);
  control.described = described;
  control.input.dataset.control = described.control;
  return { row, control };
}

function pagePanel(page, index, grid, dialog, run) {
  const panel = document.createElement("form");
  panel.className = "page";
  panel.setAttribute("role", "tabpanel");
  panel.dataset.tool = page.tool;
  const controls = [];
  const groups = new Map();
  for (const described of page.fields) {
    const { row, control } = field(described, grid, dialog, index);
    controls.push(control);
    if (described.kind === "option") {
      const name = described.group ?? "options";
      if (!groups.has(name)) {
        const set = document.createElement("fieldset");
        set.className = "options";
        if (described.groupLabel) {
          const legend = document.createElement("legend");
          legend.textContent = described.groupLabel;
          set.append(legend);
        }
        groups.set(name, set);
        panel.append(set);
      }
      groups.get(name).append(row);
    } else panel.append(row);
  }
  if (page.fields.length === 0) {
    // A tool that asks for its range after the button: its name says what the button does.
    const note = document.createElement("p");
    note.className = "note";
    note.textContent = page.caption;
    panel.append(note);
  }
  const buttons = document.createElement("div");
  buttons.className = "buttons";
  const start = document.createElement("button");
  start.type = "submit";
  start.className = "default";
  start.textContent = page.button || "确定";
  const cancel = document.createElement("button");
  cancel.type = "button";
  cancel.textContent = "取消";
  cancel.addEventListener("click", () => dialog.close());
  buttons.append(start, cancel);
  panel.append(buttons);
  panel.addEventListener("submit", (event) => {
    event.preventDefault();
    const values = {};
    for (const c of controls) {
      if (c.described.kind === "option" && c.described.choice !== undefined) {
        if (c.read()) values[c.described.control] = c.described.choice;
      } else values[c.described.control] = c.read();
    }
    run(page.tool, values);
  });
  return panel;
}

export function openToolDialog(description, grid, run) {
  const dialog = openWindow({
    title: description.title,
    className: "tool-dialog",
    modal: "grid",
    onClose: () => dialog.close(),
  });
  const close = dialog.close;
  dialog.close = () => {
    grid.picker = null;
    grid.locked = false;
    grid.showMarquee(null);
    close();
  };
  // While the tool runs the dialog takes no input; then it has its focus back where it was.
  let focused = null;
  dialog.setBusy = (busy) => {
    if (busy) focused = document.activeElement;
    dialog.win.inert = busy;
    dialog.win.classList.toggle("busy", busy);
    if (!busy && dialog.win.contains(focused)) focused.focus();
  };
  grid.locked = true;
  const pages = description.pages.map((page, i) => pagePanel(page, i, grid, dialog, run));
  if (pages.length > 1) {
    const tabs = document.createElement("div");
    tabs.className = "tabs";
    tabs.setAttribute("role", "tablist");
    description.pages.forEach((page, i) => {
      const tab = document.createElement("button");
      tab.type = "button";
      tab.setAttribute("role", "tab");
      tab.textContent = page.caption || page.tool;
      tab.addEventListener("click", () => show(i));
      tabs.append(tab);
    });
    dialog.body.append(tabs);
    const show = (k) => {
      pages.forEach((p, i) => (p.hidden = i !== k));
      [...tabs.children].forEach((t, i) => t.setAttribute("aria-selected", String(i === k)));
      grid.picker = null;
      grid.showMarquee(null);
    };
    show(0);
  }
  dialog.body.append(...pages);
  // Only a reference box in focus takes the grid's ranges.
  dialog.win.addEventListener("focusin", (event) => {
    if (!event.target.closest(".refedit")) {
      grid.picker = null;
      grid.showMarquee(null);
    }
  });
  dialog.win.addEventListener("keydown", (event) => {
    if (event.key === "Escape") dialog.close();
  });
  // Beside the grid's first columns, where lists usually start, rather than over them.
  center(dialog.win);
  dialog.win.style.left = `${Math.max(0, window.innerWidth - dialog.win.offsetWidth - 40)}px`;
  // The first field, or on a page without fields its button, so Enter starts the tool.
  dialog.win.querySelector(".page:not([hidden]) :is(input, button.default)")?.focus();
  return dialog;
}
