/*
 * Print.js - the print buttons and links of a Verosta page: a click on an element
 * marked data-vt-print opens the browser's print dialog. Needs no other script.
 */
(function (document) {
  "use strict";
  document.addEventListener("click", function (event) {
    var target = event.target.closest && event.target.closest("[data-vt-print]");
    if (!target) return;
    event.preventDefault();
    window.print();
  });
})(document);
