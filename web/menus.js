// The menu bar and the toolbars. An entry is { caption, faceId, beginGroup, items, disabled,
// run }: "&" in a caption marks its accelerator, which is underlined; an entry with items is a
// submenu (on a toolbar, a button that drops its list down).

// Simple glyphs for the host's button images, and drawings for the page's own commands.
const faces = {
  4153: "Σ", 2090: "⊟", 485: "∅", 4125: "▥", 3836: "⊞", 3837: "☰",
  3820: "↻", 4356: "✖", 3998: "?", 3737: "i",
};
const svg = (body) =>
  `<svg viewBox="0 0 16 16" width="16" height="16" fill="none" stroke="currentColor" ` +
  `stroke-width="1.3" stroke-linejoin="round">${body}</svg>`;
const drawings = {
  open: svg('<path d="M1.5 3.5h4l1.5 1.5h6v8h-11.5z" fill="#f3d27a"/><path d="M1.5 13l2.5-6h11l-2.5 6z" fill="#f8e3a6"/>'),
  save: svg('<path d="M2 2h10l2 2v10h-12z" fill="#7aa0d8"/><path d="M4.5 2v4h6v-4M4.5 14v-4.5h7v4.5" fill="#fff"/>'),
  download: svg('<path d="M8 2v8M4.5 7l3.5 3.5 3.5-3.5M2.5 13.5h11" stroke-width="1.6"/>'),
  undo: svg('<path d="M5 4l-3 3 3 3" stroke-width="1.6"/><path d="M2.5 7h7a4 4 0 0 1 0 8h-3" stroke-width="1.6"/>'),
};

function accelerator(caption) {
  const m = /&([^&])/.exec(caption);
  return m ? m[1].toUpperCase() : null;
}

// The caption as text and underlined accelerator.
function captionNodes(caption) {
  const nodes = [];
  let text = "";
  for (let i = 0; i < caption.length; i++) {
    if (caption[i] === "&" && i + 1 < caption.length) {
      i++;
      if (caption[i] !== "&") {
        nodes.push(document.createTextNode(text));
        const u = document.createElement("u");
        u.textContent = caption[i];
        nodes.push(u);
        text = "";
        continue;
      }
    }
    text += caption[i];
  }
  nodes.push(document.createTextNode(text));
  return nodes;
}

const plainCaption = (caption) => caption.replace(/&(.)/g, "$1");

function face(item) {
  const icon = document.createElement("span");
  icon.className = "icon";
  icon.setAttribute("aria-hidden", "true");
  if (drawings[item.faceId]) icon.innerHTML = drawings[item.faceId];
  else if (!item.items && item.faceId) icon.textContent = faces[item.faceId] ?? "▪";
  return icon;
}

function menuList(items, close) {
  const list = document.createElement("div");
  list.className = "menu-list";
  list.setAttribute("role", "menu");
  list.hidden = true;
  for (const item of items) {
    if (item.beginGroup && list.children.length) {
      const rule = document.createElement("div");
      rule.className = "menu-sep";
      rule.setAttribute("role", "separator");
      list.append(rule);
    }
    const entry = document.createElement("div");
    entry.className = "menu-item";
    entry.setAttribute("role", "menuitem");
    entry.tabIndex = -1;
    entry.dataset.caption = plainCaption(item.caption);
    const label = document.createElement("span");
    label.className = "label";
    label.append(...captionNodes(item.caption));
    entry.append(face(item), label);
    if (item.disabled) entry.setAttribute("aria-disabled", "true");
    if (item.shortcut) {
      const key = document.createElement("span");
      key.className = "shortcut";
      key.textContent = item.shortcut;
      entry.append(key);
    }
    if (item.items) {
      entry.setAttribute("aria-haspopup", "menu");
      const arrow = document.createElement("span");
      arrow.className = "arrow";
      arrow.textContent = "▸";
      const sub = menuList(item.items, close);
      sub.classList.add("submenu");
      entry.append(arrow, sub);
      entry.addEventListener("mouseenter", () => openSub(entry));
    } else {
      entry.addEventListener("mouseenter", () => {
        closeSubs(list);
        entry.focus();
      });
      entry.addEventListener("click", (event) => {
        event.stopPropagation();
        if (item.disabled) return;
        close();
        item.run();
      });
    }
    list.append(entry);
  }
  list.addEventListener("keydown", (event) => listKey(event, list, close));
  return list;
}

const entriesOf = (list) =>
  [...list.children].filter((el) => el.classList.contains("menu-item") && el.getAttribute("aria-disabled") !== "true");

function closeSubs(list) {
  for (const sub of list.querySelectorAll(":scope > .menu-item > .menu-list")) {
    sub.hidden = true;
    closeSubs(sub);
  }
}

function openSub(entry, focusFirst = false) {
  closeSubs(entry.parentElement);
  const sub = entry.querySelector(":scope > .menu-list");
  sub.hidden = false;
  if (focusFirst) entriesOf(sub)[0]?.focus();
  else entry.focus();
}

// Keys inside an open list: arrows move and open, Enter runs, Esc goes back a level, a letter
// runs the entry it underlines.
function listKey(event, list, close) {
  if (event.target.parentElement !== list) return;
  const entries = entriesOf(list);
  const at = entries.indexOf(event.target);
  const entry = event.target;
  const step = (d) => entries[(at + d + entries.length) % entries.length]?.focus();
  if (event.key === "ArrowDown") step(1);
  else if (event.key === "ArrowUp") step(-1);
  else if (event.key === "ArrowRight" && entry.querySelector(".menu-list")) openSub(entry, true);
  else if (event.key === "ArrowLeft" && list.classList.contains("submenu")) {
    list.hidden = true;
    list.parentElement.focus();
  } else if (event.key === "Escape" && list.classList.contains("submenu")) {
    list.hidden = true;
    list.parentElement.focus();
  } else if (event.key === "Enter" || event.key === " ") {
    if (entry.querySelector(".menu-list")) openSub(entry, true);
    else entry.click();
  } else if (event.key.length === 1 && !event.ctrlKey && !event.altKey) {
    const hit = entries.find((el) => el.querySelector(".label u")?.textContent.toUpperCase() === event.key.toUpperCase());
    if (!hit) return;
    if (hit.querySelector(".menu-list")) openSub(hit, true);
    else hit.click();
  } else return;
  event.preventDefault();
  event.stopPropagation();
}

// The menu bar and the toolbars, built again whenever the command bars change.
export class CommandBars {
  constructor(menubar, toolbars) {
    this.menubar = menubar;
    this.toolbars = toolbars;
    this.open = null; // the top entry or toolbar button whose list is down
    document.addEventListener("mousedown", (event) => {
      if (this.open && !this.open.contains(event.target)) this.close();
    });
    document.addEventListener("keydown", (event) => this.altKey(event));
  }

  close() {
    if (!this.open) return;
    const list = this.open.querySelector(":scope > .menu-list");
    list.hidden = true;
    closeSubs(list);
    this.open.classList.remove("open");
    this.open = null;
  }

  drop(owner, focusFirst) {
    this.close();
    const list = owner.querySelector(":scope > .menu-list");
    list.hidden = false;
    owner.classList.add("open");
    this.open = owner;
    if (focusFirst) entriesOf(list)[0]?.focus();
  }

  // A list that drops from an owner: a click opens and closes it; while a menu of the bar is
  // down, moving onto another bar entry opens that one.
  attach(owner, items) {
    const list = menuList(items, () => this.close());
    owner.append(list);
    owner.addEventListener("click", (event) => {
      if (event.target.closest(".menu-list")) return;
      if (this.open === owner) this.close();
      else this.drop(owner, event.detail === 0);
    });
    owner.addEventListener("mouseenter", () => {
      if (this.open && this.open !== owner && this.open.parentElement === owner.parentElement) {
        this.drop(owner, false);
      }
    });
    owner.addEventListener("keydown", (event) => {
      if (event.key === "Escape") {
        this.close();
        owner.focus();
      } else if (event.key === "ArrowDown" && event.target === owner) this.drop(owner, true);
      else if (this.open === owner && (event.key === "ArrowLeft" || event.key === "ArrowRight") &&
        owner.parentElement === this.menubar) {
        const tops = [...this.menubar.children];
        const next = tops[(tops.indexOf(owner) + (event.key === "ArrowRight" ? 1 : tops.length - 1)) % tops.length];
        this.drop(next, true);
      } else return;
      event.preventDefault();
    });
  }

  // menus: [{ caption, items }]; toolbars: [{ name, items }].
  render(menus, toolbars) {
    this.close();
    this.menubar.replaceChildren();
    for (const menu of menus) {
      const top = document.createElement("div");
      top.className = "menu-top";
      top.setAttribute("role", "menuitem");
      top.setAttribute("aria-haspopup", "menu");
      top.tabIndex = 0;
      top.dataset.caption = plainCaption(menu.caption);
      top.dataset.key = accelerator(menu.caption) ?? "";
      const label = document.createElement("span");
      label.append(...captionNodes(menu.caption));
      top.append(label);
      this.menubar.append(top);
      this.attach(top, menu.items);
    }
    this.toolbars.replaceChildren();
    for (const bar of toolbars) {
      const el = document.createElement("div");
      el.className = "toolbar";
      el.setAttribute("role", "toolbar");
      el.setAttribute("aria-label", bar.name);
      el.dataset.name = bar.name;
      const grip = document.createElement("span");
      grip.className = "grip";
      grip.title = bar.name;
      el.append(grip);
      for (const item of bar.items) {
        if (item.beginGroup) {
          const rule = document.createElement("span");
          rule.className = "tool-sep";
          el.append(rule);
        }
        const button = document.createElement("button");
        button.type = "button";
        button.className = "tool";
        button.dataset.caption = plainCaption(item.caption);
        button.title = plainCaption(item.caption);
        button.disabled = Boolean(item.disabled);
        const label = document.createElement("span");
        label.className = "label";
        label.append(...captionNodes(item.caption));
        button.append(face(item));
        if (item.showCaption !== false) button.append(label);
        if (item.items) {
          const holder = document.createElement("div");
          holder.className = "tool-popup";
          const arrow = document.createElement("span");
          arrow.className = "arrow";
          arrow.textContent = "▾";
          button.append(arrow);
          holder.append(button);
          el.append(holder);
          this.attach(holder, item.items);
        } else {
          button.addEventListener("click", () => item.run());
          el.append(button);
        }
      }
      this.toolbars.append(el);
    }
  }

  // Alt and an underlined letter opens that menu of the bar.
  altKey(event) {
    if (!event.altKey || event.ctrlKey || event.metaKey || !/^Key[A-Z]$/.test(event.code)) return;
    const letter = event.code.slice(3);
    const top = [...this.menubar.children].find((el) => el.dataset.key === letter);
    if (!top || top.closest("[inert]")) return;
    event.preventDefault();
    this.drop(top, true);
  }
}
