// Plays the page in headless Chromium and checks it over the DevTools protocol: first as the
// player (a link to a paused moment, seeking, pausing, the seek bar's parts), then with
// ?classic as the desktop demo.
//
//   node browser-check.mjs BASE_URL NATIVE_DIR SECONDS [STATS_JSON]
//
// BASE_URL is the folder the page is served from; NATIVE_DIR holds what the native build
// made: title/*.png (the title's last fade-in frames, one of which stays on screen while the
// title holds), at90.png and at95.png (`demo-render --start T --frames 1`), and the stage's
// synkTest.snc. SECONDS is how long the classic show plays before the key press (0: until the
// end scroller is over). Prints one line per check and ends with "N passed, M failed".
import { readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { decodePng, frameFromScreen, launchPage, sleep, waitFor } from './cdp.mjs';

const [baseUrl, nativeDir, secondsArg, statsFile] = process.argv.slice(2);
const playSeconds = Number(secondsArg);

let passed = 0, failed = 0;
function check(ok, what, detail = '') {
  if (ok) passed++; else failed++;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}${detail ? ': ' + detail : ''}`);
}

const native = (name) => decodePng(readFileSync(join(nativeDir, name))).rgb;

// The sync script's change records: the label and time of each part after the first.
function scriptChanges(text) {
  const lines = text.split('\n');
  let at = 1;
  at += 1 + 3 * Math.max(0, parseInt(lines[at], 10) || 0);
  const count = parseInt(lines[at++], 10) || 0;
  const changes = [];
  for (let i = 0; i < count; i++, at += 3) changes.push({ label: lines[at], start: parseFloat(lines[at + 1]) });
  return changes;
}

let page;
const consoleLines = [], pageErrors = [];
const printed = (line) => consoleLines.some((l) => l.includes(line));

async function open(query) {
  consoleLines.length = 0;
  await page.call('Page.navigate', { url: baseUrl + 'index.html' + query });
  return waitFor('"loaded actions "', async () => printed('loaded actions '), 120000);
}

// The frame on screen once the controls have faded out (2 s after the last input).
async function frameWithoutControls() {
  await waitFor('the controls to hide', async () => !(await page.evaluate("document.getElementById('stage').classList.contains('active')")), 5000);
  await sleep(600);
  return frameFromScreen(await page.screenshot());
}

async function checkPlayer() {
  check(await open('?t=95&paused'), 'the player loaded ?t=95&paused');
  check(await waitFor('the first frame', async () => (await page.evaluate('demoStats().frames')) > 0, 10000),
        'a frame is drawn without a click');
  const player = await page.evaluate('demoPlayer()');
  check(player.paused && player.time === 95, 'it holds at 95 s', JSON.stringify({ paused: player.paused, time: player.time }));

  // The seek bar's blocks: one per part, where and as the sync script places it.
  const blocks = await page.evaluate(`(() => {
    const bar = document.getElementById('seekbar').getBoundingClientRect();
    return [...document.querySelectorAll('#parts .part')].map((b) => ({
      label: b.textContent, start: Number(b.dataset.start), end: Number(b.dataset.end),
      x: (b.getBoundingClientRect().left - bar.left) / bar.width, w: b.getBoundingClientRect().width / bar.width }));
  })()`);
  const changes = scriptChanges(readFileSync(join(nativeDir, 'synkTest.snc'), 'latin1'));
  const expected = [{ label: blocks[0]?.label, start: 0 }, ...changes];
  const length = player.length;
  const mismatch = expected.findIndex((e, i) => {
    const b = blocks[i], end = i + 1 < expected.length ? expected[i + 1].start : length;
    return !b || b.label !== e.label || b.start !== e.start || b.end !== end ||
           Math.abs(b.x - e.start / length) > 0.002 || Math.abs(b.w - (end - e.start) / length) > 0.002;
  });
  check(blocks.length === expected.length && mismatch < 0 && length > expected.at(-1).start,
        "the seek bar's part blocks are the sync script's parts",
        mismatch < 0 ? `${blocks.length} blocks, ${blocks.map((b) => b.label).join(', ')}`
                     : `block ${mismatch}: ${JSON.stringify(blocks[mismatch])}, expected ${JSON.stringify(expected[mismatch])}`);

  const at95 = await frameWithoutControls();
  check(at95 !== null && at95.equals(native('at95.png')), "the frame at ?t=95&paused is demo-render's frame at 95 s");

  // Left to the kebab's last frame at 90 s, Right back to the house at 95 s: frames that differ.
  const seekTo = async (key, code, keyCode, seconds) => {
    await page.key(key, code, keyCode);
    const moved = await waitFor('the seek', async () => (await page.evaluate('demoPlayer().time')) === seconds, 3000);
    const frame = await frameWithoutControls();
    return moved && frame !== null && frame.equals(native(`at${seconds}.png`));
  };
  check(await seekTo('ArrowLeft', 'ArrowLeft', 37, 90), 'Left moves to 90 s and shows its frame');
  check(await seekTo('ArrowRight', 'ArrowRight', 39, 95), 'Right moves to 95 s and shows its frame');

  const frames = () => page.evaluate('demoStats().frames');
  const advancing = async () => {
    const before = await frames();
    await sleep(1000);
    return (await frames()) - before;
  };
  await page.key(' ', 'Space', 32);
  const playing = await advancing();
  check(playing > 5 && !(await page.evaluate('demoPlayer().paused')), 'Space plays', `${playing} frames in 1 s`);
  await page.key(' ', 'Space', 32);
  await sleep(200);
  const heldAt = await page.evaluate('demoPlayer().time');
  const held = await advancing();
  check(held === 0 && (await page.evaluate('demoPlayer().time')) === heldAt && heldAt > 95,
        'Space pauses: the frames stop', `${held} frames in 1 s at ${heldAt} s`);
  await page.key(' ', 'Space', 32);
  const resumed = await advancing();
  check(resumed > 5 && (await page.evaluate('demoPlayer().time')) > heldAt, 'Space resumes', `${resumed} frames in 1 s`);
}

async function checkClassic() {
  check(await open('?classic&autostart'), 'the classic demo loaded and printed "loaded actions "');
  const started = Date.now();
  const audio = await page.evaluate('Module.SDL2 && Module.SDL2.audioContext ? Module.SDL2.audioContext.state : "none"');
  check(audio === 'running', 'the audio context is running', audio);

  // Two looks during the fade-in differ, and the frame count grows: frames advance.
  const early = await page.screenshot();
  const framesEarly = (await page.evaluate('demoStats()')).frames;
  await sleep(1500);
  const later = await page.screenshot();
  const framesLater = (await page.evaluate('demoStats()')).frames;
  check(!early.rgb.equals(later.rgb) && framesLater > framesEarly, 'frames advance during the fade-in',
        `${framesLater - framesEarly} frames in between`);

  // The title holds from 5 s to 15 s on its last fade-in frame, which depends on when
  // exactly that frame was drawn: it must equal one of the native candidates.
  await sleep(Math.max(0, 8000 - (Date.now() - started)));
  const frame = frameFromScreen(await page.screenshot());
  check(frame !== null, 'the frame fills the view at 2x with sharp pixels');
  if (frame) {
    const names = readdirSync(join(nativeDir, 'title')).filter((n) => n.endsWith('.png')).sort();
    const match = names.find((n) => native(join('title', n)).equals(frame));
    check(match !== undefined, 'the title picture on screen equals a native frame', match ?? `none of ${names.length}`);
  }

  if (playSeconds > 0) await sleep(Math.max(0, playSeconds * 1000 - (Date.now() - started)));
  else await waitFor('the end of the show', async () => Date.now() - started > 185000, 200000);
  const stats = await page.evaluate('demoStats()');
  check(stats.state === 'playing' && stats.frames > 0, 'still playing before the key press',
        `${stats.frames} frames, ${stats.fps.toFixed(1)} frames/s`);
  if (statsFile) writeFileSync(statsFile, JSON.stringify(stats, null, 1));

  await page.key('a', 'KeyA', 65);
  check(await waitFor('the end', async () => (await page.evaluate('demoState()')) === 'ended', 10000),
        'a key press ends the show and the page says so');
  check(consoleLines.at(-1) === 'deallocated internal Bitmap buffer ',
        "the demo's last line is printed last", JSON.stringify(consoleLines.at(-1)));
}

async function main() {
  page = await launchPage();
  page.listeners.push((m) => {
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
  await page.call('Runtime.enable');
  await page.call('Log.enable');
  await page.call('Page.enable');
  console.log('-- the player');
  await checkPlayer();
  console.log('-- ?classic');
  await checkClassic();
  check(pageErrors.length === 0, 'no page errors', pageErrors.slice(0, 5).join(' | '));
}

const timer = setTimeout(() => { console.log('FAIL timed out'); failed++; finish(); }, 500000);
async function finish() {
  clearTimeout(timer);
  console.log(`${passed} passed, ${failed} failed`);
  if (failed && page) console.log('chromium said:\n' + page.browserLog().slice(-2000));
  if (page) await page.close();
  process.exit(failed ? 1 : 0);
}
main().catch((e) => { console.log('FAIL ' + e.message); failed++; }).finally(finish);
