// Serves the page's folder on 127.0.0.1 the way the README's static host does: the right
// type for WebAssembly, gzip when the browser takes it, and revalidation instead of stale
// copies (the files keep their names from build to build).
//
//   node serve.mjs FOLDER [PORT]      prints "serving on port N" once it listens
import { createServer } from 'node:http';
import { readFileSync, statSync } from 'node:fs';
import { extname, join, normalize, sep } from 'node:path';
import { gzipSync } from 'node:zlib';

const [folder, portArg] = process.argv.slice(2);
const root = normalize(folder + sep);
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm', '.data': 'application/octet-stream',
};
// Each file read and compressed once, and again when it changes on disk.
const cache = new Map();
function load(path) {
  const stat = statSync(path);
  if (!stat.isFile()) return null;
  const tag = `"${stat.size.toString(16)}-${Math.floor(stat.mtimeMs).toString(16)}"`;
  let entry = cache.get(path);
  if (!entry || entry.tag !== tag) {
    const body = readFileSync(path);
    entry = { tag, body, gzip: gzipSync(body, { level: 6 }) };
    cache.set(path, entry);
  }
  return entry;
}

const server = createServer((request, response) => {
  let path;
  try {
    const name = decodeURIComponent(new URL(request.url, 'http://host').pathname);
    path = normalize(join(root, name.endsWith('/') ? name + 'index.html' : name));
  } catch {
    response.writeHead(400).end();
    return;
  }
  let entry = null;
  try {
    if (path.startsWith(root)) entry = load(path);
  } catch {}
  if (!entry || (request.method !== 'GET' && request.method !== 'HEAD')) {
    response.writeHead(entry ? 405 : 404, { 'Content-Type': 'text/plain' }).end(entry ? 'GET only\n' : 'not found\n');
    return;
  }
  const headers = {
    'Content-Type': types[extname(path)] ?? 'application/octet-stream',
    'Cache-Control': 'no-cache', ETag: entry.tag, Vary: 'Accept-Encoding',
  };
  if (request.headers['if-none-match'] === entry.tag) {
    response.writeHead(304, headers).end();
    return;
  }
  const gzip = /\bgzip\b/.test(request.headers['accept-encoding'] ?? '');
  const body = gzip ? entry.gzip : entry.body;
  if (gzip) headers['Content-Encoding'] = 'gzip';
  headers['Content-Length'] = body.length;
  response.writeHead(200, headers);
  response.end(request.method === 'HEAD' ? undefined : body);
});
server.listen(Number(portArg ?? 0), '127.0.0.1', () => {
  console.log(`serving on port ${server.address().port}`);
});
