// The script the preview puts into every HTML page it serves (never into the file): it
// listens on the preview's WebSocket and reloads the page, swaps a style sheet, or shows
// the translator's error over the page.
#pragma once

namespace preview {

inline constexpr const char* kPageScript = R"JS(<script data-verosta-preview>(function () {
  var key = 'verosta-preview-scroll:' + location.pathname;
  var saved = sessionStorage.getItem(key);
  // A second reload that comes before the first one's page has loaded keeps the first position.
  var pending = null;
  if ('scrollRestoration' in history) history.scrollRestoration = 'manual';
  if (saved) {
    sessionStorage.removeItem(key);
    pending = saved;
    var at = saved.split(',');
    var restore = function () { window.scrollTo(+at[0], +at[1]); pending = null; };
    if (document.readyState === 'complete') restore(); else window.addEventListener('load', restore);
  }
  var overlay = null;
  function showError(m) {
    if (!overlay) {
      overlay = document.createElement('div');
      overlay.id = 'verosta-preview-error';
      overlay.style.cssText = 'position:fixed;left:0;right:0;top:0;z-index:2147483647;margin:0;padding:12px 16px;' +
        'background:#fff4f4;color:#900;border-bottom:3px solid #c00;font:14px/1.4 monospace;white-space:pre-wrap;text-align:left';
      document.documentElement.appendChild(overlay);
    }
    overlay.textContent = m.file + ':' + m.line + ': ' + m.message;
  }
  function swapSheet(path) {
    var links = document.querySelectorAll('link[rel~="stylesheet"]');
    for (var i = 0; i < links.length; ++i) {
      var url = new URL(links[i].href, location.href);
      if (url.host !== location.host || decodeURIComponent(url.pathname) !== path) continue;
      url.searchParams.set('verosta', Date.now());
      links[i].href = url.href;
    }
  }
  function connect() {
    var ws = new WebSocket((location.protocol === 'https:' ? 'wss://' : 'ws://') + location.host + '/__verosta/ws');
    ws.onopen = function () { ws.send(JSON.stringify({page: decodeURIComponent(location.pathname)})); };
    ws.onmessage = function (e) {
      var m = JSON.parse(e.data);
      if (m.type === 'reload') {
        sessionStorage.setItem(key, pending || window.scrollX + ',' + window.scrollY);
        location.reload();
      } else if (m.type === 'css') swapSheet(m.path);
      else if (m.type === 'error') showError(m);
      else if (m.type === 'ok' && overlay) { overlay.remove(); overlay = null; }
      else if (m.type === 'goto') location.href = m.url;
    };
    ws.onclose = function () { setTimeout(connect, 1000); };
  }
  connect();
})();</script>
)JS";

}  // namespace preview
