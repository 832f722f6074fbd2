/*
 * Search.js - the search box of a Verosta page: finds the words typed into the box
 * in the text of the page, selects the next match and scrolls it into view. Each
 * press of the button moves on to the next match; after the last it starts again.
 * Needs no other script and no network.
 */
(function (document) {
  "use strict";

  function textNodes(root, skip) {
    var walker = document.createTreeWalker(root, NodeFilter.SHOW_TEXT, {
      acceptNode: function (node) {
        var p = node.parentNode;
        if (skip.contains(node)) return NodeFilter.FILTER_REJECT;
        while (p && p !== root) {
          if (/^(SCRIPT|STYLE|NOSCRIPT)$/.test(p.nodeName)) return NodeFilter.FILTER_REJECT;
          p = p.parentNode;
        }
        return NodeFilter.FILTER_ACCEPT;
      }
    });
    var nodes = [], n;
    while ((n = walker.nextNode())) nodes.push(n);
    return nodes;
  }

  function search(form) {
    var box = form.querySelector("input"), wanted = box.value.toLowerCase(), nodes, i, at, range, sel, start;
    if (!wanted) return;
    nodes = textNodes(document.body, form);
    start = form.vtLast || { node: -1, offset: -1 };
    for (var pass = 0; pass < 2; pass++) {
      for (i = 0; i < nodes.length; i++) {
        if (pass === 0 && i < start.node) continue;
        at = nodes[i].nodeValue.toLowerCase().indexOf(wanted, pass === 0 && i === start.node ? start.offset + 1 : 0);
        if (at < 0) continue;
        range = document.createRange();
        range.setStart(nodes[i], at);
        range.setEnd(nodes[i], at + wanted.length);
        sel = window.getSelection();
        sel.removeAllRanges();
        sel.addRange(range);
        if (nodes[i].parentNode.scrollIntoView) nodes[i].parentNode.scrollIntoView({ block: "center" });
        form.vtLast = { node: i, offset: at };
        box.removeAttribute("aria-invalid");
        return;
      }
      start = { node: -1, offset: -1 };
    }
    box.setAttribute("aria-invalid", "true");
  }

  document.addEventListener("submit", function (event) {
    var form = event.target;
    if (!form.classList || !form.classList.contains("vt-search")) return;
    event.preventDefault();
    search(form);
  });
  document.addEventListener("input", function (event) {
    var form = event.target.form;
    if (form && form.classList.contains("vt-search")) form.vtLast = null;
  });
})(document);
