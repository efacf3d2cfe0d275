// The page around the demo: loads it with a progress bar, starts it on a click or key (the
// browser holds sound back until then; ?autostart starts at once), scales the frame to the
// window at 4:3 without smoothing, and says clearly when something is missing or over.
//
// By default the page is a player: controls like a video's (a seek bar with the show's
// parts, pause, mute, full screen, keys, touch) and links to a moment (?t=SECONDS, &paused).
// ?classic plays as the desktop demo does: no controls, and any key ends the show.
'use strict';
(function () {
  const $ = (id) => document.getElementById(id);
  const stage = $('stage');
  const canvas = $('canvas');
  const params = new URLSearchParams(location.search);
  const classic = params.has('classic');
  const startAt = classic ? 0 : linkTime(params.get('t'));
  const startPaused = !classic && params.has('paused');
  // A paused start plays no sound, so it needs no click first.
  const autostart = params.has('autostart') || startPaused;
  if (classic) {
    stage.classList.add('classic');
    $('hint-keys').textContent = 'Any key ends the show.';
  }

  // loading -> ready -> playing -> ended (?classic only), or failed from anywhere
  let state = 'loading';
  let pendingStart = null;

  // ?t=83.5: seconds from the start; anything else starts at the beginning.
  function linkTime(text) {
    if (text === null) return 0;
    const seconds = Number(text);
    if (text.trim() === '' || !Number.isFinite(seconds) || seconds < 0) {
      console.warn('?t=' + text + ' is no time in seconds: starting at the beginning');
      return 0;
    }
    return seconds;
  }

  // The largest 4:3 size that fits; the canvas stays 512 x 384 inside and CSS scales it
  // with nearest-neighbour sampling.
  function fit() {
    const scale = Math.min(innerWidth / 512, innerHeight / 384);
    canvas.style.width = Math.floor(512 * scale) + 'px';
    canvas.style.height = Math.floor(384 * scale) + 'px';
  }
  addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  fit();

  // The console panel: what the demo prints, hidden unless asked for.
  const consolePanel = $('console');
  function log(text, isError) {
    const line = document.createElement('span');
    if (isError) line.className = 'err';
    line.textContent = text + '\n';
    consolePanel.appendChild(line);
    consolePanel.scrollTop = consolePanel.scrollHeight;
    if (isError) console.warn(text);
    else console.log(text);
  }
  $('console-toggle').addEventListener('click', () => {
    consolePanel.hidden = !consolePanel.hidden;
  });

  function showMessage(title, text, again) {
    $('message-title').textContent = title;
    $('message-text').textContent = text;
    $('again').hidden = !again;
    $('cover').hidden = true;
    $('message').hidden = false;
  }

  function fail(title, text) {
    if (state === 'failed' || state === 'ended') return;
    state = 'failed';
    log(title + ': ' + text, true);
    showMessage(title, text, false);
  }

  function enterFullscreen() {
    if (document.fullscreenElement || !stage.requestFullscreen) return;
    stage.requestFullscreen().catch(() => {});
  }
  function toggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    else enterFullscreen();
  }
  $('fullscreen').addEventListener('click', () => {
    toggleFullscreen();
    canvas.focus();
  });

  // The controls show on any input and hide 2 s after the last, paused or not: the frame is
  // then all there is to see. The pointer hides with them.
  let activeTimer = 0;
  function wake() {
    stage.classList.add('active');
    stage.classList.remove('idle');
    clearTimeout(activeTimer);
    activeTimer = setTimeout(() => {
      if (player.dragging) return wake();
      stage.classList.remove('active');
      if (state === 'playing') stage.classList.add('idle');
    }, 2000);
  }
  addEventListener('pointermove', wake);
  addEventListener('pointerdown', wake);

  function toast(text) {
    const box = $('toast');
    box.textContent = text;
    box.hidden = false;
    clearTimeout(box.timer);
    box.timer = setTimeout(() => { box.hidden = true; }, 4000);
  }

  // ---- the player ----------------------------------------------------------------------
  // The demo owns time: it reports every frame it draws (with its time) and the page asks it
  // to seek, pause and mute. The show's parts come from the demo once it has begun.
  const player = {
    time: startAt,
    paused: startPaused,
    muted: false,
    dragging: false,
    length: 0,
    parts: [],       // { label, start, end } in show order, as the sync script placed them
  };

  function clock(seconds) {
    const s = Math.max(0, Math.floor(seconds));
    return Math.floor(s / 60) + ':' + String(s % 60).padStart(2, '0');
  }
  // The part playing at a time: the first whose window holds it, as the demo chooses.
  function partAt(seconds) {
    const index = player.parts.findIndex((p) => seconds >= p.start && seconds <= p.end);
    return index < 0 ? 0 : index;
  }
  // A time just inside a part, past the change that starts it (the part before still holds
  // the change time itself); the demo's run timer counts whole milliseconds.
  function partEntry(index) {
    const start = player.parts[index].start;
    return start > 0 ? (Math.floor(start * 1000) + 1) / 1000 : 0;
  }

  let shownSecond = -1, shownPart = -1;
  function showTime() {
    const t = player.time, fraction = player.length > 0 ? Math.min(1, t / player.length) : 0;
    $('played').style.width = (100 * fraction) + '%';
    $('handle').style.left = (100 * fraction) + '%';
    if (Math.floor(t) !== shownSecond) {
      shownSecond = Math.floor(t);
      $('time').textContent = clock(t) + ' / ' + clock(player.length);
      $('seekbar').setAttribute('aria-valuenow', String(shownSecond));
      $('seekbar').setAttribute('aria-valuetext', clock(t));
    }
    const part = partAt(t);
    if (part !== shownPart && player.parts.length) {
      shownPart = part;
      $('part-name').textContent = player.parts[part].label;
    }
  }
  function showPlayState() {
    const atEnd = player.time >= player.length;
    $('play').textContent = !player.paused ? 'Pause' : atEnd ? 'Replay' : 'Play';
    $('play').title = (player.paused ? 'Play' : 'Pause') + ' (Space, K)';
    $('mute').textContent = player.muted ? 'Unmute' : 'Mute';
  }

  // Called by the demo once it has begun: the parts and the show's length in seconds.
  function showBegun(json) {
    const show = JSON.parse(json);
    player.length = show.length;
    player.parts = show.parts;
    $('seekbar').setAttribute('aria-valuemax', String(Math.floor(show.length)));
    const blocks = $('parts');
    blocks.textContent = '';
    for (const part of show.parts) {
      if (part.start >= show.length) continue;
      const block = document.createElement('div');
      block.className = 'part';
      block.style.left = (100 * part.start / show.length) + '%';
      block.style.width = (100 * (Math.min(part.end, show.length) - part.start) / show.length) + '%';
      block.textContent = part.label;
      block.dataset.start = part.start;
      block.dataset.end = Math.min(part.end, show.length);
      blocks.appendChild(block);
    }
    showTime();
    showPlayState();
  }

  function seek(seconds) {
    if (classic || state !== 'playing') return;
    player.time = Math.min(Math.max(0, seconds), player.length);
    Module._webSeek(player.time);
    showTime();
    showPlayState();
  }
  function setPaused(paused) {
    if (classic || state !== 'playing' || player.paused === paused) return;
    // Play at the end starts the show again.
    if (!paused && player.time >= player.length) seek(0);
    player.paused = paused;
    Module._webSetPaused(paused ? 1 : 0);
    showPlayState();
  }
  function setMuted(muted) {
    if (classic || state !== 'playing') return;
    player.muted = muted;
    Module._webSetMuted(muted ? 1 : 0);
    showPlayState();
  }
  // Called by the demo when the show has played to its end: it holds the last frame.
  function showOver() {
    player.paused = true;
    player.time = player.length;
    showTime();
    showPlayState();
    wake();
  }

  // A button keeps no focus, or Space and Enter would press it again besides the key's own work.
  $('controls').addEventListener('click', () => canvas.focus());
  $('play').addEventListener('click', () => setPaused(!player.paused));
  $('mute').addEventListener('click', () => setMuted(!player.muted));

  // A link that opens the page at this moment, paused there when the show is paused now.
  $('copy-link').addEventListener('click', () => {
    const seconds = String(Math.round(player.time * 1000) / 1000);
    const link = location.origin + location.pathname + '?t=' + seconds + (player.paused ? '&paused' : '');
    const copied = navigator.clipboard ? navigator.clipboard.writeText(link) : Promise.reject();
    copied.then(() => toast('Link copied: ' + link),
                () => toast('Copy this link: ' + link));
  });

  // The seek bar: the pointer's time in a label above it; a press or drag moves the frame
  // with the pointer and the music waits for the release (see the README on why).
  const seekbar = $('seekbar');
  function barTime(event) {
    const box = seekbar.getBoundingClientRect();
    const fraction = Math.min(1, Math.max(0, (event.clientX - box.left) / box.width));
    return { fraction, seconds: fraction * player.length };
  }
  function showPointerTime(event) {
    const { fraction, seconds } = barTime(event);
    const label = $('pointer-time');
    label.textContent = clock(seconds) + (player.parts.length ? '  ' + player.parts[partAt(seconds)].label : '');
    label.style.left = (100 * fraction) + '%';
    label.hidden = false;
  }
  let dragPlaying = false, dragTarget = null, dragFrame = 0;
  seekbar.addEventListener('pointerdown', (event) => {
    if (classic || state !== 'playing' || event.button !== 0) return;
    event.preventDefault();
    seekbar.setPointerCapture(event.pointerId);
    player.dragging = true;
    dragPlaying = !player.paused;
    if (dragPlaying) setPaused(true);
    scrubTo(barTime(event).seconds);
  });
  // At most one seek an animation frame, to the pointer's latest time.
  function scrubTo(seconds) {
    dragTarget = seconds;
    if (dragFrame) return;
    dragFrame = requestAnimationFrame(() => {
      dragFrame = 0;
      if (dragTarget !== null) seek(dragTarget);
      dragTarget = null;
    });
  }
  seekbar.addEventListener('pointermove', (event) => {
    showPointerTime(event);
    if (player.dragging) scrubTo(barTime(event).seconds);
  });
  function endDrag(event) {
    if (!player.dragging) return;
    player.dragging = false;
    cancelAnimationFrame(dragFrame);
    dragFrame = 0;
    dragTarget = null;
    seek(barTime(event).seconds);
    if (dragPlaying) setPaused(false);
    if (event.pointerType !== 'mouse') $('pointer-time').hidden = true;
  }
  seekbar.addEventListener('pointerup', endDrag);
  seekbar.addEventListener('pointercancel', endDrag);
  seekbar.addEventListener('pointerleave', () => {
    if (!player.dragging) $('pointer-time').hidden = true;
  });

  // A click or tap on the frame pauses or plays (and, as any input, shows the controls).
  // Pointer events, since the demo's SDL takes the canvas's touches for itself, so a tap
  // makes no click there.
  let press = null;
  canvas.addEventListener('pointerdown', (event) => {
    press = event.isPrimary ? { x: event.clientX, y: event.clientY, at: event.timeStamp } : null;
  });
  canvas.addEventListener('pointerup', (event) => {
    if (press && event.timeStamp - press.at < 1000 &&
        Math.hypot(event.clientX - press.x, event.clientY - press.y) < 16) setPaused(!player.paused);
    press = null;
  });

  // Keys as video players have them.
  function playerKey(event) {
    const t = player.time;
    const key = event.key;
    if (key === ' ' || key === 'k' || key === 'K') setPaused(!player.paused);
    else if (key === 'ArrowLeft') seek(t - 5);
    else if (key === 'ArrowRight') seek(t + 5);
    else if (key === 'j' || key === 'J') seek(t - 10);
    else if (key === 'l' || key === 'L') seek(t + 10);
    else if (key === 'Home') seek(0);
    else if (key === 'End') seek(player.length);
    else if (key >= '0' && key <= '9' && key.length === 1) seek(player.length * Number(key) / 10);
    else if (key === 'PageUp') {
      // As a disc player's previous chapter: the start of this part, or of the one before
      // when the show is just past that.
      const part = partAt(t);
      seek(partEntry(t - partEntry(part) > 2 || part === 0 ? part : part - 1));
    } else if (key === 'PageDown') {
      const part = partAt(t);
      if (part + 1 < player.parts.length && player.parts[part + 1].start < player.length) seek(partEntry(part + 1));
      else seek(player.length);
    } else if (key === 'f' || key === 'F') toggleFullscreen();
    else if (key === 'm' || key === 'M') setMuted(!player.muted);
    else return false;
    return true;
  }

  // ---- start and end ---------------------------------------------------------------------
  function start(fullscreen) {
    if (state === 'loading') {
      pendingStart = { fullscreen };
      $('status').textContent = 'Starting as soon as everything is loaded…';
      return;
    }
    if (state !== 'ready') return;
    state = 'playing';
    stage.classList.add('playing');
    if (fullscreen) enterFullscreen();
    $('cover').hidden = true;
    canvas.focus();
    const args = classic ? ['--classic'] : ['--start', String(startAt)];
    if (startPaused) args.push('--paused');
    Module.callMain(args);
    if (state === 'playing') wake();
  }

  function ready() {
    if (state !== 'loading') return;
    state = 'ready';
    $('progress-bar').style.width = '100%';
    $('status').textContent = '';
    $('ready').hidden = false;
    if (autostart) start(false);
    else if (pendingStart) start(pendingStart.fullscreen);
  }

  $('cover').addEventListener('click', (event) => {
    start(event.target === $('start-full'));
  });
  addEventListener('keydown', (event) => {
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    if (state === 'loading' || state === 'ready') {
      if (event.repeat) return;
      event.preventDefault();
      start(event.key === 'f' || event.key === 'F');
    } else if (state === 'ended') {
      if (!event.repeat) location.reload();
    } else if (state === 'playing' && !classic) {
      wake();
      // A focused button would take Space and Enter as its own click as well.
      if (playerKey(event)) event.preventDefault();
    }
  });
  $('again').addEventListener('click', () => location.reload());

  // Frame statistics for the tests and the curious: draw time per part index, in ms.
  const stats = { frames: 0, first: 0, last: 0, parts: {} };
  function frameDone(part, drawMs, seconds) {
    const now = performance.now();
    if (stats.frames === 0) stats.first = now;
    stats.frames++;
    stats.last = now;
    (stats.parts[part] = stats.parts[part] || []).push(drawMs);
    if (!classic) {
      player.time = seconds;
      showTime();
    }
  }
  function percentile(sorted, p) {
    return sorted[Math.min(sorted.length - 1, Math.floor(p * sorted.length))];
  }
  window.demoStats = function () {
    const seconds = (stats.last - stats.first) / 1000;
    const parts = {};
    for (const [part, times] of Object.entries(stats.parts)) {
      const sorted = times.slice().sort((a, b) => a - b);
      parts[part] = { frames: sorted.length, median: percentile(sorted, 0.5), p99: percentile(sorted, 0.99) };
    }
    return { state, frames: stats.frames, first: stats.first, seconds,
             fps: seconds > 0 ? (stats.frames - 1) / seconds : 0, parts };
  };
  window.demoState = () => state;
  window.demoPlayer = () => ({ time: player.time, paused: player.paused, muted: player.muted,
                               length: player.length, parts: player.parts });

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    fail('WebAssembly is missing', 'This browser cannot run WebAssembly, which the demo is made of. ' +
         'Any current Chrome, Firefox, Safari or Edge can.');
    return;
  }
  if (!(window.AudioContext || window.webkitAudioContext)) {
    fail('Web Audio is missing', 'This browser has no Web Audio, which the demo plays its music through.');
    return;
  }
  addEventListener('error', (event) => {
    fail('Something went wrong', event.message || 'a script failed');
  });
  addEventListener('unhandledrejection', (event) => {
    fail('Something went wrong', String(event.reason));
  });

  window.Module = {
    canvas,
    print: (text) => log(text, false),
    printErr: (text) => log(text, true),
    // The data package reports "Downloading data... (loaded/total)".
    setStatus(text) {
      if (state !== 'loading') return;
      const m = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text);
      if (m) {
        const loaded = Number(m[1]), total = Number(m[2]);
        $('progress-bar').style.width = (100 * loaded / total).toFixed(1) + '%';
        $('status').textContent = 'Loading ' + (loaded / 1048576).toFixed(1) + ' of ' +
                                  (total / 1048576).toFixed(1) + ' MB';
      }
    },
    onRuntimeInitialized: ready,
    onAbort: (what) => fail('The demo stopped', String(what || 'aborted')),
    // Called by the demo itself.
    showFailure: (text) => fail('The demo could not start', text),
    showEnded() {
      state = 'ended';
      if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
      showMessage('The show has ended', 'Thanks for watching. Press a key or click below to watch it again.', true);
    },
    showBegun,
    showOver,
    frameDone,
  };

  const script = document.createElement('script');
  script.src = 'demo.js';
  script.onerror = () => fail('A file failed to load', 'demo.js could not be downloaded from ' + location.host + '.');
  document.body.appendChild(script);
})();
