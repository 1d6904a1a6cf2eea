import { center, openWindow } from "./windows.js";

// The host's modal boxes: a message box with its buttons, and prompts for a range or a text.
const captions = { OK: "确定", Cancel: "取消", Yes: "是(Y)", No: "否(N)" };
const layouts = {
  OK: ["OK"],
  OKCancel: ["OK", "Cancel"],
  YesNo: ["Yes", "No"],
  YesNoCancel: ["Yes", "No", "Cancel"],
};

function buttonRow(names, answer) {
  const row = document.createElement("div");
  row.className = "buttons";
  for (const name of names) {
    const button = document.createElement("button");
    button.type = "button";
    button.dataset.answer = name;
    button.textContent = captions[name];
    button.addEventListener("click", () => answer(name));
    row.append(button);
  }
  return row;
}

// Resolves to "OK", "Cancel", "Yes" or "No". Enter presses the focused button (the default one
// at first); Esc and the close button answer Cancel, or No, or OK when that is the only button.
export function messageBox({ title, text, buttons = "OK", default: preferred }) {
  return new Promise((resolve) => {
    const names = layouts[buttons] ?? ["OK"];
    const escape = ["Cancel", "No", "OK"].find((n) => names.includes(n));
    const box = openWindow({ title: title || "Tavrin", className: "message-box", modal: true, onClose: () => answer(escape) });
    function answer(name) {
      box.close();
      resolve(name);
    }
    const message = document.createElement("div");
    message.className = "message";
    message.textContent = text;
    box.body.append(message, buttonRow(names, answer));
    box.win.addEventListener("keydown", (event) => {
      const key = event.key.toLowerCase();
      if (event.key === "Escape") answer(escape);
      else if (key === "y" && names.includes("Yes")) answer("Yes");
      else if (key === "n" && names.includes("No")) answer("No");
      else if (event.key === "ArrowRight" || event.key === "ArrowLeft") {
        const all = [...box.win.querySelectorAll(".buttons button")];
        const at = all.indexOf(document.activeElement);
        all[(at + (event.key === "ArrowRight" ? 1 : all.length - 1)) % all.length].focus();
      } else return;
      event.preventDefault();
    });
    center(box.win);
    const first = names.includes(preferred) ? preferred : names[0];
    box.win.querySelector(`[data-answer="${first}"]`).focus();
  });
}

// A prompt with a text field. Resolves to the text, or null for Cancel. With `grid`, the field
// takes the range dragged on the grid, as the host's range prompt does.
export function promptBox({ title, prompt, value = "", grid = null, className = "" }) {
  return new Promise((resolve) => {
    const box = openWindow({ title: title || "Tavrin", className: `prompt-box ${className}`, modal: grid ? "grid" : true, onClose: () => finish(null) });
    function finish(result) {
      if (grid) {
        grid.picker = null;
        grid.showMarquee(null);
      }
      box.close();
      resolve(result);
    }
    const label = document.createElement("label");
    label.className = "message";
    label.textContent = prompt;
    const field = document.createElement("input");
    field.type = "text";
    field.value = value;
    field.spellcheck = false;
    label.append(field);
    box.body.append(label, buttonRow(["OK", "Cancel"], (name) => finish(name === "OK" ? field.value : null)));
    box.win.addEventListener("keydown", (event) => {
      if (event.key === "Escape") finish(null);
      else if (event.key === "Enter" && event.target === field) finish(field.value);
      else return;
      event.preventDefault();
    });
    if (grid) {
      grid.picker = {
        pick(range, final) {
          field.value = grid.reference(range, false);
          if (final) field.focus();
        },
      };
    }
    center(box.win);
    field.focus();
    field.select();
  });
}
