// Measures the page's cold load in headless Chromium with the network throttled by DevTools
// emulation: from the navigation to the first frame the demo draws, with an empty cache and
// a fresh profile each run, and the bytes that came over the wire.
//
//   node measure-load.mjs URL RUNS MBITS LATENCY_MS
//
// URL opens the player at once (?t=0&paused: no click needed). Prints each run and the median.
import { launchPage, waitFor } from './cdp.mjs';

const [url, runsArg, mbitsArg, latencyArg] = process.argv.slice(2);
const runs = Number(runsArg), bytesPerSecond = Number(mbitsArg) * 1e6 / 8, latency = Number(latencyArg);

async function measure() {
  const page = await launchPage();
  const files = new Map();
  let total = 0;
  page.listeners.push((m) => {
    if (m.method === 'Network.responseReceived') files.set(m.params.requestId, m.params.response.url);
    if (m.method === 'Network.loadingFinished') {
      total += m.params.encodedDataLength;
      const name = (files.get(m.params.requestId) ?? '?').replace(/^.*\//, '').replace(/\?.*/, '') || 'index.html';
      files.set(m.params.requestId, `${name} ${m.params.encodedDataLength}`);
    }
  });
  try {
    await page.call('Network.enable');
    await page.call('Network.setCacheDisabled', { cacheDisabled: true });
    await page.call('Network.emulateNetworkConditions', {
      offline: false, latency, downloadThroughput: bytesPerSecond, uploadThroughput: bytesPerSecond });
    await page.call('Page.navigate', { url });
    const drawn = await waitFor('the first frame', async () => (await page.evaluate('window.demoStats ? demoStats().frames : 0')) > 0, 120000);
    if (!drawn) throw new Error('no frame within 120 s');
    // performance.now() counts from the navigation's start.
    const firstMs = await page.evaluate('demoStats().first');
    return { firstMs, total, files: [...files.values()].filter((f) => f.includes(' ')) };
  } finally {
    await page.close();
  }
}

const results = [];
for (let i = 0; i < runs; i++) {
  const r = await measure();
  results.push(r);
  console.log(`run ${i + 1}: first frame after ${(r.firstMs / 1000).toFixed(2)} s, ${r.total} bytes over the wire (${r.files.join(', ')})`);
}
const sorted = results.map((r) => r.firstMs).sort((a, b) => a - b);
console.log(`median: first frame after ${(sorted[Math.floor(sorted.length / 2)] / 1000).toFixed(2)} s ` +
            `at ${mbitsArg} Mbit/s and ${latency} ms; ${results[0].total} bytes (${(results[0].total / 1048576).toFixed(2)} MiB)`);
