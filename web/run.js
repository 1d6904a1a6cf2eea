import { get, post } from "./api.js";
import { messageBox, promptBox } from "./boxes.js";

// A run of a tool: started, then followed until it ends, each box it shows answered in the page,
// and progress(seconds) told each second of a run that has taken a second or more. Resolves to
// the run's last state.
export async function runTool(tool, controls, grid, progress) {
  await post("/api/run", { tool, controls });
  return follow(grid, progress);
}

// An error that reached the caller, "424 要求对象", as the runtime's box shows it.
function runtimeError(error) {
  const m = /^(\d+) (.*)$/s.exec(error);
  return { title: "Tavrin", text: m ? `运行时错误 '${m[1]}':\n\n${m[2]}` : error };
}

const same = (a, b) => a.title === b.title && a.text === b.text;
const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Follows the run going on, if any (also after the page was opened again during a run).
export async function follow(grid, progress = () => {}) {
  const shown = [];
  const answered = new Set();
  for (;;) {
    const state = await get("/api/run?wait=1");
    if (state.state === "running") {
      if (state.seconds >= 1) progress(state.seconds);
      continue;
    }
    if (state.state === "asking") {
      const q = state.question;
      if (answered.has(q.id)) {
        await pause(100);
        continue;
      }
      answered.add(q.id);
      if (q.kind === "range") {
        const range = await promptBox({ title: q.title, prompt: q.prompt, value: q.default ?? "", grid, className: "range-prompt" });
        await post("/api/answer", range === null ? { id: q.id, answer: "Cancel" } : { id: q.id, range });
      } else {
        shown.push(q);
        const answer = await messageBox(q);
        await post("/api/answer", { id: q.id, answer });
      }
      continue;
    }
    // Boxes of the run that were not asked as questions are shown now, in order.
    let k = 0;
    for (const message of state.messages ?? []) {
      if (k < shown.length && same(message, shown[k])) k++;
      else await messageBox({ title: message.title, text: message.text });
    }
    if (state.state === "failed" && state.error) await messageBox(runtimeError(state.error));
    return state;
  }
}
