// The information window: the picture cut to a rounded rectangle, fading in over two seconds,
// dragged by its face with the left button, and fading out and closing when its close label is
// clicked. Each call opens another window; none blocks the page.
const defaults = {
  picture: "/assets/info.png",
  caption: "关  闭",
  width: 504,
  height: 374,
  region: { left: 1, top: 1, right: 500, bottom: 368, ellipse: 50 },
  fadeSeconds: 2,
  label: { left: 368, top: 325, width: 89, height: 25 },
};

let opened = 0;

export function showInfo(about = {}) {
  const info = { ...defaults, ...about };
  const region = { ...defaults.region, ...about.region };
  const label = { ...defaults.label, ...about.label };
  const face = document.createElement("div");
  face.className = "info-window";
  face.setAttribute("role", "dialog");
  face.setAttribute("aria-label", "公司信息");
  const px = (n) => `${n}px`;
  Object.assign(face.style, {
    width: px(info.width),
    height: px(info.height),
    left: px(Math.max(0, (window.innerWidth - info.width) / 2 + 24 * (opened % 5))),
    top: px(Math.max(0, (window.innerHeight - info.height) / 3 + 24 * (opened % 5))),
    clipPath: `inset(${region.top}px ${info.width - region.right}px ${info.height - region.bottom}px ` +
      `${region.left}px round ${region.ellipse / 2}px)`,
    transitionDuration: `${info.fadeSeconds}s`,
  });
  opened++;
  const picture = document.createElement("img");
  picture.src = info.picture;
  picture.alt = "";
  picture.draggable = false;
  const close = document.createElement("button");
  close.type = "button";
  close.className = "info-close";
  close.textContent = info.caption;
  close.hidden = true;
  Object.assign(close.style, {
    left: px(label.left),
    top: px(label.top),
    width: px(label.width),
    height: px(label.height),
  });
  face.append(picture, close);
  document.getElementById("windows").append(face);

  face.addEventListener("mousedown", (event) => {
    if (event.button !== 0 || event.target === close) return;
    event.preventDefault();
    const start = { x: event.clientX - face.offsetLeft, y: event.clientY - face.offsetTop };
    const move = (e) => {
      face.style.left = px(e.clientX - start.x);
      face.style.top = px(e.clientY - start.y);
    };
    const up = () => {
      window.removeEventListener("mousemove", move);
      window.removeEventListener("mouseup", up);
    };
    window.addEventListener("mousemove", move);
    window.addEventListener("mouseup", up);
  });
  close.addEventListener("click", () => {
    close.hidden = true;
    face.classList.remove("shown");
    setTimeout(() => face.remove(), info.fadeSeconds * 1000);
  });
  // The fade-in starts once the window is on the page; the close label shows when it ends.
  requestAnimationFrame(() =>
    requestAnimationFrame(() => {
      face.classList.add("shown");
      setTimeout(() => {
        if (face.classList.contains("shown")) close.hidden = false;
      }, info.fadeSeconds * 1000);
    }),
  );
  return face;
}
