// Keeps the page and its module for offline use: every file is served from the
// cache, which a new build (a new version below) replaces as a whole.
const CACHE = 'kordel-@VERSION@';
const FILES = @FILES@;

// The files come from the server, not from the browser's HTTP cache: a server
// that sends no Cache-Control would otherwise hand a new build the old files.
// The first build takes over at once; a later one waits until the page, asked
// by its user, tells it to (a page must not change under the user's hands).
self.addEventListener('install', (event) => {
  const first = !self.registration.active;
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' }))))
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
