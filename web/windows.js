// Windows of the page: a title bar to drag them by, a close button, and modality. A modal
// window makes everything under it inert until it closes; one that takes a range from the grid
// (modal "grid") leaves the grid and the sheet tabs alive.
const layer = () => document.getElementById("windows");
const modals = [];

function dragBy(handle, win) {
  handle.addEventListener("mousedown", (event) => {
    if (event.button !== 0 || event.target.closest("button")) return;
    event.preventDefault();
    const start = { x: event.clientX, y: event.clientY, left: win.offsetLeft, top: win.offsetTop };
    const move = (e) => {
      const left = Math.min(window.innerWidth - 40, Math.max(-win.offsetWidth + 80, start.left + e.clientX - start.x));
      const top = Math.min(window.innerHeight - 24, Math.max(0, start.top + e.clientY - start.y));
      win.style.left = `${left}px`;
      win.style.top = `${top}px`;
    };
    const up = () => {
      window.removeEventListener("mousemove", move);
      window.removeEventListener("mouseup", up);
    };
    window.addEventListener("mousemove", move);
    window.addEventListener("mouseup", up);
  });
}

// A closed window gives the keyboard back to what had it before, when that can still take it,
// else to the grid.
function giveFocusBack(opener) {
  const usable = opener?.isConnected && opener !== document.body && opener.offsetParent !== null &&
    !opener.closest("[inert]");
  (usable ? opener : document.querySelector(".viewport"))?.focus({ preventScroll: true });
}

// A window stays within the page when the page narrows or shortens: at least its title bar.
function keepInView(win) {
  const left = Math.min(win.offsetLeft, window.innerWidth - win.offsetWidth);
  const top = Math.min(win.offsetTop, window.innerHeight - win.offsetHeight);
  win.style.left = `${Math.max(0, left)}px`;
  win.style.top = `${Math.max(0, top)}px`;
}

window.addEventListener("resize", () => {
  for (const win of layer().querySelectorAll(":scope > .window")) keepInView(win);
});

export function center(win) {
  win.style.left = `${Math.max(0, (window.innerWidth - win.offsetWidth) / 2)}px`;
  win.style.top = `${Math.max(0, (window.innerHeight - win.offsetHeight) / 3)}px`;
}

// Opens a window; `onClose` runs when its close button is pressed (by default it closes).
// `modal`: false, true, or "grid".
export function openWindow({ title, className = "", modal = false, onClose }) {
  const win = document.createElement("div");
  win.className = `window ${className}`;
  win.setAttribute("role", "dialog");
  if (modal) win.setAttribute("aria-modal", "true");
  win.innerHTML = `<div class="titlebar"><span class="title"></span>` +
    `<button class="close" type="button" aria-label="关闭" title="关闭">✕</button></div>` +
    `<div class="window-body"></div>`;
  win.querySelector(".title").textContent = title;
  win.setAttribute("aria-label", title);
  const opener = document.activeElement;
  const handle = {
    win,
    body: win.querySelector(".window-body"),
    close() {
      const hadFocus = win.contains(document.activeElement);
      win.remove();
      const at = modals.findIndex((m) => m.win === win);
      if (at >= 0) {
        for (const el of modals[at].made) el.inert = false;
        modals.splice(at, 1);
      }
      if (hadFocus || document.activeElement === document.body) giveFocusBack(opener);
    },
  };
  win.querySelector(".close").addEventListener("click", () => (onClose ? onClose() : handle.close()));
  dragBy(win.querySelector(".titlebar"), win);
  if (modal) {
    const under = modal === "grid"
      ? ["menubar", "toolbars", "formulabar"].map((id) => document.getElementById(id))
      : [document.getElementById("app")];
    const made = [...under, ...layer().children].filter((el) => !el.inert);
    for (const el of made) el.inert = true;
    modals.push({ win, made });
  }
  layer().append(win);
  return handle;
}
