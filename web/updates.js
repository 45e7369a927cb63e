// A new build's service worker waits until the user takes it: then it takes
// over and the page reloads. The service worker is registered once the page has
// loaded, so that it finds the page's files in the browser's cache rather than
// fetching them a second time beside the page.
import { $ } from './dom.js';

// keep(): whether reloading now would throw away something the user has not
// saved; the user is asked first.
function offerUpdate(registration, keep) {
  const waiting = registration.waiting;
  if (!waiting || !navigator.serviceWorker.controller) return;
  $('update').hidden = false;
  $('update-reload').onclick = () => {
    const message = 'Reloading throws away the decoded list on this page. Reload now?';
    if (keep() && !window.confirm(message)) return;
    waiting.postMessage('take over');
  };
}

export function watchUpdates(loaded, keep) {
  if (!('serviceWorker' in navigator)) return;
  loaded.then(() => navigator.serviceWorker.register('sw.js')).then((registration) => {
    const watch = (installing) => installing?.addEventListener('statechange', () => {
      if (installing.state === 'installed') offerUpdate(registration, keep);
    });
    // The browser may have begun installing a new build before this ran.
    watch(registration.installing);
    registration.addEventListener('updatefound', () => watch(registration.installing));
    offerUpdate(registration, keep);
  }).catch(() => {});
  let reloading = false;
  const hadController = Boolean(navigator.serviceWorker.controller);
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (!hadController || reloading) return;  // the first install changes nothing shown
    reloading = true;
    location.reload();
  });
}
