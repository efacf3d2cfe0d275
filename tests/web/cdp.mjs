// Headless Chromium over the DevTools protocol, through --remote-debugging-pipe (no
// WebSocket or package needed), and the picture helpers the web checks share.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { inflateSync } from 'node:zlib';

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// PNG (8-bit RGB or RGBA, not interlaced) to { width, height, rgb }.
export function decodePng(bytes) {
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

// The 512 x 384 frame from a screenshot whose canvas fills the 1024 x 768 view: every
// frame pixel a 2 x 2 block. Returns null when a block is not one colour (smoothing).
export function frameFromScreen(shot) {
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

// A fresh Chromium (its own empty profile: every start is a cold one) with one page of
// 1024 x 768. Events of the page go to the listeners in `page.listeners`.
export async function launchPage() {
  const profile = mkdtempSync(join(tmpdir(), 'web-check-'));
  const browser = spawn('chromium', [
    '--headless=new', '--no-sandbox', '--autoplay-policy=no-user-gesture-required',
    '--remote-debugging-pipe', '--user-data-dir=' + profile, '--no-first-run',
    '--enable-unsafe-swiftshader', '--use-angle=swiftshader', '--force-device-scale-factor=1',
    '--window-size=1024,768', 'about:blank',
  ], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
  let log = '';
  browser.stderr.on('data', (d) => { log += d; });

  let nextId = 1, inbox = '', session;
  const pending = new Map(), listeners = [];
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
      } else if (message.method && message.sessionId === session) listeners.forEach((l) => l(message));
    }
  });
  function send(method, params = {}, sessionId) {
    const id = nextId++;
    browser.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + '\0');
    return new Promise((resolve, reject) => pending.set(id, { resolve, reject }));
  }

  await send('Target.setDiscoverTargets', { discover: true });
  const { targetId } = await send('Target.createTarget', { url: 'about:blank' });
  ({ sessionId: session } = await send('Target.attachToTarget', { targetId, flatten: true }));
  const call = (method, params) => send(method, params, session);
  await call('Emulation.setDeviceMetricsOverride', { width: 1024, height: 768, deviceScaleFactor: 1, mobile: false });

  return {
    call,
    listeners,
    browserLog: () => log,
    async evaluate(expression) {
      return (await call('Runtime.evaluate', { expression, returnByValue: true })).result.value;
    },
    async screenshot() {
      const { data } = await call('Page.captureScreenshot', { format: 'png' });
      return decodePng(Buffer.from(data, 'base64'));
    },
    async key(key, code, keyCode) {
      for (const type of ['keyDown', 'keyUp'])
        await call('Input.dispatchKeyEvent', { type, key, code, windowsVirtualKeyCode: keyCode,
                                               text: type === 'keyDown' && key.length === 1 ? key : undefined });
    },
    // Ends Chromium; the profile folder goes once it has let go of it (its helpers may
    // still write for a moment; a folder left in the temporary directory fails nothing).
    close() {
      return new Promise((resolve) => {
        const done = () => {
          try { rmSync(profile, { recursive: true, force: true, maxRetries: 20 }); } catch {}
          resolve();
        };
        if (browser.exitCode !== null) done();
        else { browser.once('exit', done); browser.kill(); }
      });
    },
  };
}

export async function waitFor(what, predicate, timeoutMs) {
  const until = Date.now() + timeoutMs;
  while (Date.now() < until) {
    if (await predicate()) return true;
    await sleep(200);
  }
  console.log(`  (gave up waiting for ${what} after ${timeoutMs / 1000} s)`);
  return false;
}
