// Plays the page in headless Chromium and checks it over the DevTools protocol (through
// --remote-debugging-pipe: no WebSocket or package needed).
//
//   node browser-check.mjs URL TITLE_FRAMES_DIR SECONDS [STATS_JSON]
//
// URL is the page with ?autostart; TITLE_FRAMES_DIR holds the native renderer's PNGs of the
// title's last fade-in frames (one of them stays on screen while the title holds); SECONDS
// is how long to let the show play before the key press (0: until the end scroller is over).
// Prints one line per check and ends with "N passed, M failed".
import { spawn } from 'node:child_process';
import { readFileSync, readdirSync, writeFileSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { inflateSync } from 'node:zlib';

const [url, titleDir, secondsArg, statsFile] = process.argv.slice(2);
const playSeconds = Number(secondsArg);
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

let passed = 0, failed = 0;
function check(ok, what, detail = '') {
  if (ok) passed++; else failed++;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}${detail ? ': ' + detail : ''}`);
}

// PNG (8-bit RGB or RGBA, not interlaced) to { width, height, rgb }.
function decodePng(bytes) {
  let pos = 8, width = 0, height = 0, channels = 3;
  const idat = [];
  while (pos < bytes.length) {
    const length = bytes.readUInt32BE(pos), type = bytes.toString('latin1', pos + 4, pos + 8);
    const data = bytes.subarray(pos + 8, pos + 8 + length);
    if (type === 'IHDR') {
      width = data.readUInt32BE(0); height = data.readUInt32BE(4);
      if (data[8] !== 8 || data[12] !== 0 || (data[9] !== 2 && data[9] !== 6))
        throw new Error('unsupported PNG kind');
      channels = data[9] === 6 ? 4 : 3;
    } else if (type === 'IDAT') idat.push(data);
    pos += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(idat));
  const stride = width * channels, out = Buffer.alloc(width * height * 3);
  let prev = Buffer.alloc(stride), cur = Buffer.alloc(stride);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)], line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let i = 0; i < stride; i++) {
      const a = i >= channels ? cur[i - channels] : 0, b = prev[i], c = i >= channels ? prev[i - channels] : 0;
      let p;
      switch (filter) {
        case 0: p = 0; break;
        case 1: p = a; break;
        case 2: p = b; break;
        case 3: p = (a + b) >> 1; break;
        default: {
          const pa = Math.abs(b - c), pb = Math.abs(a - c), pc = Math.abs(a + b - 2 * c);
          p = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
        }
      }
      cur[i] = (line[i] + p) & 255;
    }
    for (let x = 0; x < width; x++)
      for (let k = 0; k < 3; k++) out[(y * width + x) * 3 + k] = cur[x * channels + k];
    [prev, cur] = [cur, prev];
  }
  return { width, height, rgb: out };
}

// Chromium with the DevTools protocol on file descriptors 3 (to it) and 4 (from it).
const profile = mkdtempSync(join(tmpdir(), 'web-check-'));
const browser = spawn('chromium', [
  '--headless=new', '--no-sandbox', '--autoplay-policy=no-user-gesture-required',
  '--remote-debugging-pipe', '--user-data-dir=' + profile, '--no-first-run',
  '--enable-unsafe-swiftshader', '--use-angle=swiftshader', '--force-device-scale-factor=1',
  '--window-size=1024,768', 'about:blank',
], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
let browserLog = '';
browser.stderr.on('data', (d) => { browserLog += d; });

let nextId = 1;
const pending = new Map(), listeners = [];
let inbox = '';
browser.stdio[4].on('data', (chunk) => {
  inbox += chunk.toString('utf8');
  let end;
  while ((end = inbox.indexOf('\0')) >= 0) {
    const message = JSON.parse(inbox.slice(0, end));
    inbox = inbox.slice(end + 1);
    if (message.id && pending.has(message.id)) {
      const { resolve, reject } = pending.get(message.id);
      pending.delete(message.id);
      if (message.error) reject(new Error(JSON.stringify(message.error)));
      else resolve(message.result);
    } else if (message.method) listeners.forEach((l) => l(message));
  }
});
function send(method, params = {}, sessionId) {
  const id = nextId++;
  browser.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + '\0');
  return new Promise((resolve, reject) => pending.set(id, { resolve, reject }));
}

const consoleLines = [], pageErrors = [];
let session;
const page = (method, params) => send(method, params, session);
const evaluate = async (expression) =>
  (await page('Runtime.evaluate', { expression, returnByValue: true })).result.value;

async function waitFor(what, predicate, timeoutMs) {
  const until = Date.now() + timeoutMs;
  while (Date.now() < until) {
    if (await predicate()) return true;
    await sleep(200);
  }
  console.log(`  (gave up waiting for ${what} after ${timeoutMs / 1000} s)`);
  return false;
}

async function screenshot() {
  const { data } = await page('Page.captureScreenshot', { format: 'png' });
  return decodePng(Buffer.from(data, 'base64'));
}

// The 512 x 384 frame from a screenshot whose canvas fills the 1024 x 768 view: every
// frame pixel a 2 x 2 block. Returns null when a block is not one colour (smoothing).
function frameFromScreen(shot) {
  if (shot.width !== 1024 || shot.height !== 768) return null;
  const frame = Buffer.alloc(512 * 384 * 3);
  for (let y = 0; y < 768; y++)
    for (let x = 0; x < 1024; x++)
      for (let k = 0; k < 3; k++) {
        const v = shot.rgb[(y * 1024 + x) * 3 + k], at = ((y >> 1) * 512 + (x >> 1)) * 3 + k;
        if ((x & 1) === 0 && (y & 1) === 0) frame[at] = v;
        else if (frame[at] !== v) return null;
      }
  return frame;
}

async function main() {
  await send('Target.setDiscoverTargets', { discover: true });
  const { targetId } = await send('Target.createTarget', { url: 'about:blank' });
  ({ sessionId: session } = await send('Target.attachToTarget', { targetId, flatten: true }));
  listeners.push((m) => {
    if (m.sessionId !== session) return;
    if (m.method === 'Runtime.consoleAPICalled') {
      const text = m.params.args.map((a) => a.value ?? a.description ?? '').join(' ');
      consoleLines.push(text);
      if (m.params.type === 'error') pageErrors.push('console.error: ' + text);
    } else if (m.method === 'Runtime.exceptionThrown') {
      const d = m.params.exceptionDetails;
      pageErrors.push('exception: ' + (d.exception?.description ?? d.text));
    } else if (m.method === 'Log.entryAdded' && m.params.entry.level === 'error') {
      pageErrors.push('log: ' + m.params.entry.text);
    }
  });
  await page('Runtime.enable');
  await page('Log.enable');
  await page('Page.enable');
  await page('Emulation.setDeviceMetricsOverride', { width: 1024, height: 768, deviceScaleFactor: 1, mobile: false });
  await page('Page.navigate', { url });

  const printed = (line) => consoleLines.some((l) => l.includes(line));
  check(await waitFor('"loaded actions "', async () => printed('loaded actions '), 120000),
        'the demo loaded and printed "loaded actions "');
  const started = Date.now();

  const audio = await evaluate('Module.SDL2 && Module.SDL2.audioContext ? Module.SDL2.audioContext.state : "none"');
  check(audio === 'running', 'the audio context is running', audio);

  // Two looks during the fade-in differ, and the frame count grows: frames advance.
  const early = await screenshot();
  const framesEarly = (await evaluate('demoStats()')).frames;
  await sleep(1500);
  const later = await screenshot();
  const framesLater = (await evaluate('demoStats()')).frames;
  check(!early.rgb.equals(later.rgb) && framesLater > framesEarly, 'frames advance during the fade-in',
        `${framesLater - framesEarly} frames in between`);

  // The title holds from 5 s to 15 s on its last fade-in frame, which depends on when
  // exactly that frame was drawn: it must equal one of the native candidates.
  await sleep(Math.max(0, 8000 - (Date.now() - started)));
  const frame = frameFromScreen(await screenshot());
  check(frame !== null, 'the frame fills the view at 2x with sharp pixels');
  if (frame) {
    const names = readdirSync(titleDir).filter((n) => n.endsWith('.png')).sort();
    const match = names.find((n) => decodePng(readFileSync(join(titleDir, n))).rgb.equals(frame));
    check(match !== undefined, 'the title picture on screen equals a native frame', match ?? `none of ${names.length}`);
  }

  if (playSeconds > 0) await sleep(Math.max(0, playSeconds * 1000 - (Date.now() - started)));
  else await waitFor('the end of the show', async () => Date.now() - started > 185000, 200000);
  const stats = await evaluate('demoStats()');
  check(stats.state === 'playing' && stats.frames > 0, 'still playing before the key press',
        `${stats.frames} frames, ${stats.fps.toFixed(1)} frames/s`);
  if (statsFile) writeFileSync(statsFile, JSON.stringify(stats, null, 1));

  for (const type of ['keyDown', 'keyUp'])
    await page('Input.dispatchKeyEvent', { type, key: 'a', code: 'KeyA', windowsVirtualKeyCode: 65, text: type === 'keyDown' ? 'a' : undefined });
  check(await waitFor('the end', async () => (await evaluate('demoState()')) === 'ended', 10000),
        'a key press ends the show and the page says so');
  check(consoleLines.at(-1) === 'deallocated internal Bitmap buffer ',
        "the demo's last line is printed last", JSON.stringify(consoleLines.at(-1)));
  check(pageErrors.length === 0, 'no page errors', pageErrors.slice(0, 5).join(' | '));
}

const timer = setTimeout(() => { console.log('FAIL timed out'); failed++; finish(); }, 400000);
function finish() {
  clearTimeout(timer);
  console.log(`${passed} passed, ${failed} failed`);
  if (failed && browserLog) console.log('chromium said:\n' + browserLog.slice(-2000));
  // The profile folder goes once Chromium has let go of it (its helpers may still write
  // for a moment; a folder left in the temporary directory fails nothing).
  const done = () => {
    try { rmSync(profile, { recursive: true, force: true, maxRetries: 20 }); } catch {}
    process.exit(failed ? 1 : 0);
  };
  if (browser.exitCode !== null) done();
  else { browser.once('exit', done); browser.kill(); }
}
main().catch((e) => { console.log('FAIL ' + e.message); failed++; }).finally(finish);
