// Requests to the tavrin server. The page came with ?token=...; the server's cookie carries it
// too, and the header keeps requests working where cookies are refused.
const token = new URLSearchParams(location.search).get("token") ?? "";

class ApiError extends Error {
  constructor(status, message, reason) {
    super(message);
    this.status = status;
    this.reason = reason; // "exists": Save As found a file of that name
  }
}

export async function request(method, path, body, headers = {}) {
  const init = { method, headers: { "X-Tavrin-Token": token, ...headers } };
  if (body instanceof Blob || body instanceof ArrayBuffer) {
    init.body = body;
  } else if (body !== undefined) {
    init.body = JSON.stringify(body);
    init.headers["Content-Type"] = "application/json";
  }
  let response;
  try {
    response = await fetch(path, init);
  } catch {
    throw new ApiError(0, "无法连接到 tavrin serve：服务器可能已经停止。");
  }
  const text = await response.text();
  let data = {};
  try {
    data = text ? JSON.parse(text) : {};
  } catch {
    data = { error: text };
  }
  if (!response.ok) {
    throw new ApiError(response.status, data.error || `${response.status} ${response.statusText}`, data.reason);
  }
  return data;
}

export const get = (path) => request("GET", path);
export const post = (path, body = {}, headers) => request("POST", path, body, headers);

// A link the browser follows by itself (a download), token included.
export function link(path) {
  return `${path}${path.includes("?") ? "&" : "?"}token=${encodeURIComponent(token)}`;
}
