// The page around the demo: loads it with a progress bar, starts it on a click or key (the
// browser holds sound back until then; ?autostart starts at once), scales the frame to the
// window at 4:3 without smoothing, and says clearly when something is missing or over.
'use strict';
(function () {
  const $ = (id) => document.getElementById(id);
  const stage = $('stage');
  const canvas = $('canvas');
  const params = new URLSearchParams(location.search);
  const autostart = params.has('autostart');

  // loading -> ready -> playing -> ended, or failed from anywhere
  let state = 'loading';
  let pendingStart = null;

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
  $('fullscreen').addEventListener('click', () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else enterFullscreen();
    canvas.focus();
  });

  // Show the tools while the pointer moves, hide them when it rests.
  let pointerTimer = 0;
  addEventListener('mousemove', () => {
    stage.classList.add('pointer');
    clearTimeout(pointerTimer);
    pointerTimer = setTimeout(() => stage.classList.remove('pointer'), 2000);
  });

  function start(fullscreen) {
    if (state === 'loading') {
      pendingStart = { fullscreen };
      $('status').textContent = 'Starting as soon as everything is loaded…';
      return;
    }
    if (state !== 'ready') return;
    state = 'playing';
    if (fullscreen) enterFullscreen();
    $('cover').hidden = true;
    canvas.focus();
    Module.callMain([]);
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
    if (event.repeat) return;
    if (state === 'loading' || state === 'ready') {
      event.preventDefault();
      start(event.key === 'f' || event.key === 'F');
    } else if (state === 'ended') {
      location.reload();
    }
  });
  $('again').addEventListener('click', () => location.reload());

  // Frame statistics for the tests and the curious: draw time per part index, in ms.
  const stats = { frames: 0, first: 0, last: 0, parts: {} };
  function frameDone(part, drawMs) {
    const now = performance.now();
    if (stats.frames === 0) stats.first = now;
    stats.frames++;
    stats.last = now;
    (stats.parts[part] = stats.parts[part] || []).push(drawMs);
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
    return { state, frames: stats.frames, seconds, fps: seconds > 0 ? (stats.frames - 1) / seconds : 0, parts };
  };
  window.demoState = () => state;

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
    frameDone,
  };

  const script = document.createElement('script');
  script.src = 'demo.js';
  script.onerror = () => fail('A file failed to load', 'demo.js could not be downloaded from ' + location.host + '.');
  document.body.appendChild(script);
})();
