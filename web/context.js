// The right-click menu of the cells: entries { caption, shortcut, beginGroup, run }. Arrow keys
// move in it, Enter runs the entry, Esc or a click elsewhere closes it.
let open = null;

function close() {
  open?.remove();
  open = null;
  document.removeEventListener("mousedown", outside, true);
}

function outside(event) {
  if (!open?.contains(event.target)) close();
}

export function openContextMenu(x, y, entries, whenClosed) {
  close();
  const menu = document.createElement("div");
  menu.className = "context-menu";
  menu.setAttribute("role", "menu");
  for (const entry of entries) {
    if (entry.beginGroup && menu.children.length) {
      const rule = document.createElement("div");
      rule.className = "menu-sep";
      rule.setAttribute("role", "separator");
      menu.append(rule);
    }
    const item = document.createElement("div");
    item.className = "menu-item";
    item.setAttribute("role", "menuitem");
    item.tabIndex = -1;
    item.dataset.caption = entry.caption;
    item.innerHTML = `<span class="label"></span><span class="shortcut"></span>`;
    item.querySelector(".label").textContent = entry.caption;
    item.querySelector(".shortcut").textContent = entry.shortcut ?? "";
    item.addEventListener("click", () => {
      close();
      whenClosed();
      entry.run();
    });
    menu.append(item);
  }
  menu.addEventListener("keydown", (event) => {
    const items = [...menu.querySelectorAll(".menu-item")];
    const at = items.indexOf(document.activeElement);
    if (event.key === "ArrowDown" || event.key === "ArrowUp") {
      const step = event.key === "ArrowDown" ? 1 : items.length - 1;
      items[(at + step) % items.length].focus();
    } else if (event.key === "Enter" && at >= 0) items[at].click();
    else if (event.key === "Escape") {
      close();
      whenClosed();
    } else return;
    event.preventDefault();
    event.stopPropagation();
  });
  document.body.append(menu);
  menu.style.left = `${Math.min(x, window.innerWidth - menu.offsetWidth - 2)}px`;
  menu.style.top = `${Math.min(y, window.innerHeight - menu.offsetHeight - 2)}px`;
  open = menu;
  document.addEventListener("mousedown", outside, true);
  menu.querySelector(".menu-item")?.focus();
}
