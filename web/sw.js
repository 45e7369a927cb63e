// Keeps the page and its module for offline use: every file is served from the
// cache, which a new build (a new version below) replaces as a whole.
const CACHE = 'kordel-@VERSION@';
const FILES = @FILES@;

// The first build takes what the page has just fetched from the browser's HTTP
// cache (the page registers this worker once it has loaded), so a first visit
// fetches each file once. A later build takes its files from the server, not from
// the HTTP cache: a server that sends no Cache-Control would otherwise hand a new
// build the old files. It waits until the page, asked by its user, tells it to
// take over (a page must not change under the user's hands).
self.addEventListener('install', (event) => {
  const first = !self.registration.active;
  const mode = first ? 'default' : 'reload';
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: mode }))))
    .then(() => (first ? self.skipWaiting() : undefined)));
});

self.addEventListener('message', (event) => {
  if (event.data === 'take over') self.skipWaiting();
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The address of a linked decode (?vin=...) is the page itself, so the query is
// ignored when looking up the cache.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((cached) => cached || fetch(event.request)));
});
