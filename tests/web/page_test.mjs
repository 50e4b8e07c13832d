// The browser build end to end in headless Chromium, driven over its debugging pipe: the site is
// small, the page loads without errors, fills the window at its pixel ratio, paints its pictures,
// shows a moving scene, stops on Escape, draws it again after losing its WebGL context, takes its
// settings from the address and its panel, and its fixed-step frames match velmorin-capture's.
// Plain node, no packages.
// usage: node page_test.mjs SITE_DIR CAPTURE_TOOL PICTURES_DIR OUT_DIR
import { spawn, spawnSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";

const [siteArg, captureTool, picturesDir, outDir] = process.argv.slice(2);
if (!outDir) {
  console.error("usage: node page_test.mjs SITE_DIR CAPTURE_TOOL PICTURES_DIR OUT_DIR");
  process.exit(2);
}
const siteDir = path.resolve(siteArg);
const kWidth = 800;
const kHeight = 600;
const kFixed = { seed: 7, frames: 200, dt: 0.015 };
// Of the pixels, between WebGL in Chromium and GL 1.1 on Mesa: a right page differs by about
// 0.12 %, a page one frame late by about 0.3 %.
const kAllowedShare = 0.002;
const kCloseTimeoutMs = 5000;
const kPageTimeoutMs = 90000;
const kFirstFrameBoundMs = 10000; // a sanity bound only: the figure printed is what to watch
const kSiteMaxBytes = 400 * 1024;
const kPicturesOnFrames = 20; // frames enough to put every landed picture on, one a frame
const kLossMovedShare = 0.05;
const kTypes = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm" };

let failures = 0;
function check(ok, what) {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
  if (!ok) failures++;
}
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// --- A static server for the site folder, as any web server would serve it ---
function serveSite() {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://x").pathname);
    const file = path.join(siteDir, name === "/" ? "index.html" : name);
    if (!file.startsWith(siteDir) || !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    const type = kTypes[path.extname(file)] ?? "application/octet-stream";
    response.writeHead(200, { "Content-Type": type });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((done) => server.listen(0, "127.0.0.1", () => done(server)));
}

// --- The browser and its debugging protocol: JSON messages ended by a NUL byte ---
function startBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "velmorin-chromium-"));
  const browser = spawn("chromium", [
    "--headless=new", "--remote-debugging-pipe", "--use-angle=swiftshader",
    "--enable-unsafe-swiftshader", "--no-sandbox", "--no-first-run", "--mute-audio",
    "--force-device-scale-factor=1", `--user-data-dir=${profile}`, "about:blank",
  ], { stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"], detached: true });
  let nextId = 1;
  const waiting = new Map();
  const listeners = [];
  let buffer = "";
  browser.stdio[4].on("data", (chunk) => {
    buffer += chunk.toString("utf8");
    let end;
    while ((end = buffer.indexOf("\0")) >= 0) {
      const message = JSON.parse(buffer.slice(0, end));
      buffer = buffer.slice(end + 1);
      if (message.id !== undefined && waiting.has(message.id)) {
        const { done, fail } = waiting.get(message.id);
        waiting.delete(message.id);
        message.error ? fail(new Error(JSON.stringify(message.error))) : done(message.result);
      } else {
        listeners.forEach((listen) => listen(message));
      }
    }
  });
  let stderr = "";
  browser.stdio[2].on("data", (chunk) => { stderr += chunk; });
  const send = (method, params = {}, sessionId = undefined) =>
    new Promise((done, fail) => {
      const id = nextId++;
      waiting.set(id, { done, fail });
      browser.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + "\0");
    });
  browser.stdio[3].on("error", () => {}); // a browser already gone cannot be asked anything
  const exited = new Promise((done) => browser.on("exit", done));
  // Asked to close, the browser clears away its own temporary folders, which a killed one
  // leaves behind; it is killed only when it does not close in time. The profile goes once it
  // has stopped writing into it. Its helper processes may outlive the main one, so the whole
  // process group (its own, from detached) is ended first.
  const stop = async () => {
    send("Browser.close").catch(() => {});
    const closed = await Promise.race([exited.then(() => true), sleep(kCloseTimeoutMs)]);
    if (!closed) browser.kill("SIGKILL");
    await exited;
    try {
      process.kill(-browser.pid, "SIGKILL");
    } catch {
      // the group had already gone
    }
    fs.rmSync(profile, { recursive: true, force: true, maxRetries: 20, retryDelay: 100 });
  };
  return { send, listeners, stop, stderr: () => stderr };
}

async function openPage(browser) {
  const { targetInfos } = await browser.send("Target.getTargets");
  const page = targetInfos.find((target) => target.type === "page");
  const { sessionId } = await browser.send("Target.attachToTarget",
    { targetId: page.targetId, flatten: true });
  const call = (method, params) => browser.send(method, params, sessionId);
  const errors = [];
  browser.listeners.push((message) => {
    if (message.sessionId !== sessionId) return;
    if (message.method === "Runtime.exceptionThrown") {
      errors.push(message.params.exceptionDetails.exception?.description ??
        message.params.exceptionDetails.text);
    } else if (message.method === "Runtime.consoleAPICalled" &&
               ["error", "assert"].includes(message.params.type)) {
      errors.push(message.params.args.map((arg) => arg.value ?? arg.description).join(" "));
    } else if (message.method === "Log.entryAdded" && (message.params.entry.level === "error" ||
               message.params.entry.text.startsWith("WebGL"))) { // a GL call WebGL refused
      errors.push(message.params.entry.text);
    }
  });
  await call("Runtime.enable");
  await call("Log.enable");
  await call("Page.enable");
  const evaluate = async (expression) =>
    (await call("Runtime.evaluate", { expression, returnByValue: true })).result.value;
  const waitFor = async (expression, timeoutMs = kPageTimeoutMs) => {
    const start = Date.now();
    while (Date.now() - start < timeoutMs) {
      if (await evaluate(expression)) return true;
      await sleep(100);
    }
    return false;
  };
  const screenshot = async (file) => {
    const { data } = await call("Page.captureScreenshot", {
      format: "png", clip: { x: 0, y: 0, width: kWidth, height: kHeight, scale: 1 } });
    fs.writeFileSync(file, Buffer.from(data, "base64"));
    return file;
  };
  const opened = { call, evaluate, waitFor, screenshot, errors };
  await setPixelRatio(opened, 1);
  return opened;
}

// --- Pictures compared with ImageMagick ---
function differingPixels(a, b) {
  const result = spawnSync("compare", ["-metric", "AE", a, b, "null:"], { encoding: "utf8" });
  return parseFloat(result.stderr);
}
function colourCount(file) {
  const result = spawnSync("convert", [file, "-format", "%k", "info:"], { encoding: "utf8" });
  return parseInt(result.stdout, 10);
}

function checkSiteSize() {
  const bytes = fs.readdirSync(siteDir)
    .reduce((sum, name) => sum + fs.statSync(path.join(siteDir, name)).size, 0);
  check(bytes < kSiteMaxBytes, `the site is small: ${bytes} bytes (under ${kSiteMaxBytes})`);
}

async function setPixelRatio(page, ratio) {
  await page.call("Emulation.setDeviceMetricsOverride",
    { width: kWidth, height: kHeight + 100, deviceScaleFactor: ratio, mobile: false });
}

// The canvas covers the window, and its backing store holds the window's device pixels.
async function checkBacking(page, ratio) {
  const wanted = `${kWidth}x${kHeight + 100} css, ${kWidth * ratio}x${(kHeight + 100) * ratio}`;
  const size = await page.evaluate("(() => { const c = document.getElementById('canvas'); " +
    "const box = c.getBoundingClientRect(); " +
    "return `${box.width}x${box.height} css, ${c.width}x${c.height}`; })()");
  check(size === wanted, `at a pixel ratio of ${ratio} the canvas is ${wanted} (${size})`);
}

// The background has been painted afresh at the canvas's backing size and is the one showing.
async function checkFittedBackground(page, ratio) {
  const fitted = await page.waitFor("window.velmorin.fittedBackground === " +
    "`${document.getElementById('canvas').width}x" +
    "${document.getElementById('canvas').height}`");
  const shown = await page.evaluate("window.velmorin.fittedBackground");
  check(fitted, `at a pixel ratio of ${ratio} the background is painted at the canvas's size ` +
    `(${shown})`);
}

async function ratioTwoPage(page, url) {
  await setPixelRatio(page, 2);
  await page.call("Page.navigate", { url });
  if (await page.waitFor("window.velmorin && window.velmorin.frames >= 5")) {
    await checkBacking(page, 2);
    await checkFittedBackground(page, 2);
    const firstFrameMs = await page.evaluate("window.velmorin.firstFrameMs");
    console.log(`figure: first frame ${firstFrameMs.toFixed(0)} ms after loading again, the ` +
                "browser warm, at a pixel ratio of 2");
  }
  await setPixelRatio(page, 1);
}

async function freeRunningPage(page, url) {
  await page.call("Page.navigate", { url });
  const loadStart = Date.now();
  const started = await page.waitFor("window.velmorin && window.velmorin.frames >= 30");
  check(started, "the page draws frames");
  if (!started) return;
  const firstFrameMs = await page.evaluate("window.velmorin.firstFrameMs");
  check(firstFrameMs < kFirstFrameBoundMs, `the first frame comes within ${kFirstFrameBoundMs} ms`);
  const painted = await page.waitFor("window.velmorin.picturesMs > 0");
  check(painted, "the page paints its pictures");
  if (!painted) return;
  const picturesMs = await page.evaluate("window.velmorin.picturesMs");
  const framesPainted = await page.evaluate("window.velmorin.frames");
  await page.waitFor(`window.velmorin.frames >= ${framesPainted + kPicturesOnFrames}`);
  await checkBacking(page, 1);
  await checkFittedBackground(page, 1);
  check((await page.evaluate("document.title")) === "Velmorin", "the title is Velmorin");
  const first = await page.screenshot(path.join(outDir, "web-running-1.png"));
  const framesBefore = await page.evaluate("window.velmorin.frames");
  const clockBefore = Date.now();
  await sleep(2000);
  const framesAfter = await page.evaluate("window.velmorin.frames");
  const seconds = (Date.now() - clockBefore) / 1000;
  const second = await page.screenshot(path.join(outDir, "web-running-2.png"));
  check(colourCount(first) > 100, "the canvas shows the scene (many colours)");
  const moved = differingPixels(first, second);
  check(moved > 100, `the scene moves (${moved} pixels changed in 2 s)`);
  // A hidden tab: no frame while document.hidden says so, frames again once it is seen.
  const setHidden = (hidden) => page.evaluate(
    `Object.defineProperty(document, "hidden", { value: ${hidden}, configurable: true });` +
    `Object.defineProperty(document, "visibilityState", { value: "${hidden ? "hidden" : "visible"}",` +
    " configurable: true }); document.dispatchEvent(new Event('visibilitychange')); true");
  const taskSeconds = async () => (await page.call("Performance.getMetrics")).metrics
    .find((metric) => metric.name === "TaskDuration").value;
  await page.call("Performance.enable");
  await setHidden(true);
  const framesHidden = await page.evaluate("window.velmorin.frames");
  const tasksBefore = await taskSeconds();
  await sleep(1000);
  console.log(`figure: hidden, the page's tasks took ${((await taskSeconds() - tasksBefore) * 1000)
    .toFixed(1)} ms in 1 s (the test's own calls included)`);
  check((await page.evaluate("window.velmorin.frames")) === framesHidden,
    "no frame is drawn while the tab is hidden");
  await setHidden(false);
  check(await page.waitFor(`window.velmorin.frames >= ${framesHidden + 10}`, 10000),
    "frames come again once the tab is seen");
  const messages = await page.evaluate("document.getElementById('messages').textContent");
  check(messages === "", `no error in the page ${messages}`);

  await page.call("Input.dispatchKeyEvent",
    { type: "keyDown", key: "Escape", code: "Escape", windowsVirtualKeyCode: 27 });
  await sleep(300);
  const stoppedShown = await page.evaluate(
    "getComputedStyle(document.getElementById('stopped')).display !== 'none' && " +
    "document.getElementById('stopped').textContent");
  check(stoppedShown === "press to restart", "Escape stops it and says \"press to restart\"");
  const framesStopped = await page.evaluate("window.velmorin.frames");
  await sleep(500);
  check((await page.evaluate("window.velmorin.frames")) === framesStopped,
    "no frame is drawn once stopped");
  console.log(`figure: first frame ${firstFrameMs.toFixed(0)} ms after the page began to load, ` +
              `every picture painted at ${picturesMs.toFixed(0)} ms ` +
              `(${Date.now() - loadStart} ms for this whole check)`);
  console.log(`figure: ${(framesAfter - framesBefore) / seconds} frames a second in headless ` +
              "Chromium (SwiftShader)");
}

async function fixedStepPage(page, baseUrl) {
  const { seed, frames, dt } = kFixed;
  await page.call("Page.navigate", { url: `${baseUrl}?seed=${seed}&frames=${frames}&dt=${dt}` });
  const done = await page.waitFor("document.title === 'Velmorin (done)'");
  check(done, "the fixed-step page ends with the title \"Velmorin (done)\"");
  if (!done) return;
  check((await page.evaluate("window.velmorin.frames")) === frames, `exactly ${frames} frames`);
  const shot = await page.screenshot(path.join(outDir, "web-fixed.png"));
  const reference = path.join(outDir, "web-fixed-capture.png");
  const capture = spawnSync(captureTool, ["--seed", `${seed}`, "--frames", `${frames}`,
    "--dt", `${dt}`, "--dir", picturesDir, "--out", reference],
    { encoding: "utf8" });
  check(capture.status === 0, `velmorin-capture ran ${capture.stderr}`);
  const differing = differingPixels(shot, reference);
  const share = differing / (kWidth * kHeight);
  check(share <= kAllowedShare,
    `the page's frame matches velmorin-capture's: ${differing} pixels differ ` +
    `(${(share * 100).toFixed(3)} %, at most ${kAllowedShare * 100} %)`);
}

// The settings: the address fills the panel in, a change in the panel goes into the address and
// is remembered for a page opened without any, and a bad value in the address says so and
// leaves the default.
async function settingsPage(page, baseUrl) {
  const form = (field) => page.evaluate(`document.getElementById('settings').${field}.value`);
  const key = (name) => page.call("Input.dispatchKeyEvent", { type: "keyDown", key: name });
  const panelOpen = () => page.evaluate("!document.getElementById('settings').hidden");
  await page.call("Page.navigate", { url: `${baseUrl}?bodies=12&spray=0` });
  await page.waitFor("window.velmorin && window.velmorin.frames >= 5");
  check(await form("bodies") === "12" && await form("spray") === "0" &&
    await page.evaluate("window.velmorin.bodies") === 12,
    "?bodies=12&spray=0 shows in the settings and the scene");
  await key("s");
  check(await panelOpen(), "S opens the settings");
  await key("Escape");
  check(!(await panelOpen()) && (await page.evaluate(
    "getComputedStyle(document.getElementById('stopped')).display")) === "none",
    "Escape closes the settings and leaves the scene running");
  await page.evaluate("(() => { const f = document.getElementById('settings'); " +
    "f.speed.value = '2'; f.speed.dispatchEvent(new Event('input', { bubbles: true })); " +
    "f.bodies.value = '3'; f.bodies.dispatchEvent(new Event('input', { bubbles: true })); " +
    "f.fps.checked = true; f.fps.dispatchEvent(new Event('input', { bubbles: true })); })()");
  const search = await page.evaluate("window.location.search");
  check(search === "?bodies=3&spray=0&speed=2&fps=1", `the change is in the address (${search})`);
  const kept = await page.evaluate("localStorage.getItem('velmorin.settings')");
  check(kept === JSON.stringify({ speed: "2", bodies: "3", fps: "1" }),
    `the change is remembered (${kept})`);
  const frames = await page.evaluate("window.velmorin.frames");
  check(await page.waitFor(`window.velmorin.frames >= ${frames + 5}`) &&
    await page.evaluate("window.velmorin.bodies") === 3,
    "the scene runs on with the new body count");
  check(await page.waitFor("/^[0-9.]+ fps$/.test(document.getElementById('fps').textContent)"),
    "the frame rate shows");
  await page.call("Page.navigate", { url: baseUrl });
  await page.waitFor("window.velmorin && window.velmorin.frames >= 1");
  check(await form("speed") === "2" && await form("bodies") === "3",
    "a page without settings in its address starts with the remembered ones");
  check(await form("view") === "follow" && await form("renew") === "auto",
    "the page follows the spheres and renews the scene unless told otherwise");
  await page.call("Page.navigate",
    { url: `${baseUrl}?speed=9&spray=50&background=none&view=fixed&renew=never` });
  await page.waitFor("window.velmorin && window.velmorin.frames >= 1");
  const lines = await page.evaluate("[...document.querySelectorAll('#messages .error')]" +
    ".map((line) => line.textContent)");
  check(lines.length === 1 && lines[0].includes("speed=9") && await form("speed") === "1" &&
    await form("spray") === "50" && await form("background") === "none" &&
    await form("view") === "fixed" && await form("renew") === "never",
    `?speed=9 says so in one line and runs at speed 1, the rest as asked (${lines})`);
  await page.evaluate("localStorage.clear()");
  await page.call("Emulation.setEmulatedMedia",
    { features: [{ name: "prefers-reduced-motion", value: "reduce" }] });
  await page.call("Page.navigate", { url: baseUrl });
  await page.waitFor("window.velmorin && window.velmorin.frames >= 1");
  check(await form("speed") === "0.25" && await form("spray") === "0",
    "asked for reduced motion, the page starts slowest without spray");
  await page.call("Emulation.setEmulatedMedia", { features: [] });
}

// The browser takes the WebGL context away and gives an empty one back: no frame (and no GL
// call) meanwhile, then the scene again as it was, its pictures on, moving on unless its step
// is 0 (then the very same frame).
async function contextLossPage(page, url, still) {
  const frames = () => page.evaluate("window.velmorin.frames");
  const fitted = "window.velmorin.fittedBackground === `${document.getElementById('canvas')" +
    ".width}x${document.getElementById('canvas').height}`";
  await page.call("Page.navigate", { url });
  await page.waitFor(still ? "window.velmorin && window.velmorin.frames >= 5" :
    `window.velmorin && window.velmorin.picturesMs > 0 && ${fitted}`);
  await page.waitFor(`window.velmorin.frames >= ${await frames() + kPicturesOnFrames}`);
  const before = await page.screenshot(path.join(outDir, "web-lost-before.png"));
  await page.evaluate("window.loser = document.getElementById('canvas').getContext('webgl')" +
    ".getExtension('WEBGL_lose_context'); window.loser.loseContext(); true");
  const framesLost = await frames();
  await sleep(500);
  check(await frames() === framesLost, `${url}: no frame is drawn while the context is lost`);
  await page.evaluate("window.loser.restoreContext(); true");
  check(await page.waitFor(`window.velmorin.frames >= ${framesLost + 10}` +
    (still ? "" : ` && ${fitted}`), 10000), `${url}: frames come again once it is restored`);
  const after = await page.screenshot(path.join(outDir, "web-lost-after.png"));
  // Moving, the scene's few frames across the loss change about 1 % of the pixels; a background
  // not put on again changes most of them, a plain sphere its own.
  const changed = differingPixels(before, after);
  check(still ? changed === 0 : changed < kWidth * kHeight * kLossMovedShare,
    `${url}: the frame after it is the one before, ${still ? "exactly" : "moved on"} ` +
    `(${changed} pixels differ)`);
  if (!still) {
    await sleep(1000);
    const later = await page.screenshot(path.join(outDir, "web-lost-later.png"));
    const moved = differingPixels(after, later);
    check(moved > 100, `${url}: the scene moves after it (${moved} pixels changed in 1 s)`);
  }
}

// A page with parameters it cannot use says so and draws nothing.
async function refusedPage(page, baseUrl, query) {
  await page.call("Page.navigate", { url: `${baseUrl}?${query}` });
  const refused = await page.waitFor(
    "document.getElementById('messages').textContent.includes('Bad page parameters')");
  check(refused, `?${query} shows the "bad parameters" message`);
  await sleep(500);
  check(await page.evaluate("window.velmorin.frames === 0"), `?${query} draws no frame`);
}

fs.mkdirSync(outDir, { recursive: true });
const server = await serveSite();
const baseUrl = `http://127.0.0.1:${server.address().port}/`;
const browser = startBrowser();
const watchdog = setTimeout(() => {
  console.log("FAIL the browser test took too long");
  browser.stop().then(() => process.exit(1));
}, 5 * kPageTimeoutMs);
try {
  checkSiteSize();
  const page = await openPage(browser);
  await freeRunningPage(page, baseUrl);
  await ratioTwoPage(page, baseUrl);
  await contextLossPage(page, `${baseUrl}?seed=7&frames=100000&dt=0`, true);
  await contextLossPage(page, `${baseUrl}?seed=7`, false);
  await fixedStepPage(page, baseUrl);
  await settingsPage(page, baseUrl);
  await refusedPage(page, baseUrl, "seed=7&frames=0&dt=0.015");
  await refusedPage(page, baseUrl, "seed=7&frames=5&dt=-0.015");
  check(page.errors.length === 0, `no console error or exception ${page.errors.join(" | ")}`);
} catch (error) {
  check(false, `the browser session: ${error.message}\n${browser.stderr().slice(-2000)}`);
} finally {
  clearTimeout(watchdog);
  await browser.stop();
  server.close();
}
process.exit(failures === 0 ? 0 : 1);
