// The browser build end to end in headless Chromium, driven over its debugging pipe: the page
// loads without errors, shows a moving scene, stops on Escape, and its fixed-step frames match
// velmorin-capture's. Plain node, no packages.
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
const kAllowedShare = 0.005; // of the pixels, between WebGL in Chromium and GL 1.1 on Mesa
const kPageTimeoutMs = 90000;
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
  const exited = new Promise((done) => browser.on("exit", done));
  // The profile goes once the browser has stopped writing into it. Its helper processes may
  // outlive the main one, so the whole process group (its own, from detached) is ended first.
  const stop = async () => {
    browser.kill();
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
    } else if (message.method === "Log.entryAdded" && message.params.entry.level === "error") {
      errors.push(message.params.entry.text);
    }
  });
  await call("Runtime.enable");
  await call("Log.enable");
  await call("Page.enable");
  await call("Emulation.setDeviceMetricsOverride",
    { width: kWidth, height: kHeight + 100, deviceScaleFactor: 1, mobile: false });
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
  return { call, evaluate, waitFor, screenshot, errors };
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

async function freeRunningPage(page, url) {
  await page.call("Page.navigate", { url });
  const loadStart = Date.now();
  const started = await page.waitFor("window.velmorin && window.velmorin.frames >= 30");
  check(started, "the page draws frames");
  if (!started) return;
  const firstFrameMs = await page.evaluate("window.velmorin.firstFrameMs");
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
  console.log(`figure: first frame ${firstFrameMs.toFixed(0)} ms after the page began to load ` +
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
    "--dt", `${dt}`, "--background", "fill", "--dir", picturesDir, "--out", reference],
    { encoding: "utf8" });
  check(capture.status === 0, `velmorin-capture ran ${capture.stderr}`);
  const differing = differingPixels(shot, reference);
  const share = differing / (kWidth * kHeight);
  check(share <= kAllowedShare,
    `the page's frame matches velmorin-capture's: ${differing} pixels differ ` +
    `(${(share * 100).toFixed(3)} %, at most ${kAllowedShare * 100} %)`);
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
  const page = await openPage(browser);
  await freeRunningPage(page, baseUrl);
  await fixedStepPage(page, baseUrl);
  check(page.errors.length === 0, `no console error or exception ${page.errors.join(" | ")}`);
} catch (error) {
  check(false, `the browser session: ${error.message}\n${browser.stderr().slice(-2000)}`);
} finally {
  clearTimeout(watchdog);
  await browser.stop();
  server.close();
}
process.exit(failures === 0 ? 0 : 1);
