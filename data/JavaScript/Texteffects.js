/*
 * Texteffects.js - the text effects of Verosta web programs as script.
 *
 * Mark an element with data-effect="name" and the effect runs once the page has loaded:
 *   bouncing, expanding, flyin, gradient, highlight, mirror, mix, open, position,
 *   rainbow, reverse, scrolling, shadowbox, shadow, shaking, write
 * Optional attributes: data-color, data-color2 (colours), data-speed (milliseconds per
 * step), data-left and data-top (for position).
 * Example: <p data-effect="rainbow">Welcome</p>
 * Script code can call TextEffects.apply(element, "name") for elements added later.
 * Needs no other script.
 */
(function (window, document) {
  "use strict";

  function attr(el, name, fallback) {
    var v = el.getAttribute("data-" + name);
    return v === null || v === "" ? fallback : v;
  }

  function speed(el, fallback) {
    var n = parseInt(attr(el, "speed", ""), 10);
    return n > 0 ? n : fallback;
  }

  // Puts every character of the element's text into a span of its own.
  function letters(el) {
    var text = el.textContent, spans = [], i, s;
    el.textContent = "";
    for (i = 0; i < text.length; i++) {
      s = document.createElement("span");
      s.textContent = text.charAt(i) === " " ? "\u00a0" : text.charAt(i);
      s.style.display = "inline-block";
      el.appendChild(s);
      spans.push(s);
    }
    return spans;
  }

  function every(ms, step) {
    var n = 0;
    return window.setInterval(function () { step(n++); }, ms);
  }

  function hex(c) { return parseInt(c, 16); }

  // A colour between "#rrggbb" a and b at fraction t.
  function blend(a, b, t) {
    var out = "#", i, x;
    for (i = 1; i < 7; i += 2) {
      x = Math.round(hex(a.substr(i, 2)) + (hex(b.substr(i, 2)) - hex(a.substr(i, 2))) * t);
      out += (x < 16 ? "0" : "") + x.toString(16);
    }
    return out;
  }

  var rainbowColours = ["#ff0000", "#ff8000", "#ffd700", "#00a000", "#0000ff", "#4b0082", "#8f00ff"];

  var effects = {
    bouncing: function (el) {
      var spans = letters(el);
      every(speed(el, 60), function (n) {
        for (var i = 0; i < spans.length; i++)
          spans[i].style.transform = "translateY(" + (-Math.abs(Math.sin((n + i * 2) / 6)) * 0.5) + "em)";
      });
    },
    expanding: function (el) {
      var size = 0.1;
      el.style.display = "inline-block";
      var id = every(speed(el, 30), function () {
        size = Math.min(1, size + 0.05);
        el.style.fontSize = size + "em";
        if (size >= 1) window.clearInterval(id);
      });
    },
    flyin: function (el) {
      el.style.display = "inline-block";
      el.style.transform = "translateX(-100vw)";
      el.style.transition = "transform " + speed(el, 1200) + "ms ease-out";
      window.setTimeout(function () { el.style.transform = "translateX(0)"; }, 50);
    },
    gradient: function (el) {
      var spans = letters(el), a = attr(el, "color", "#0000ff"), b = attr(el, "color2", "#ff0000");
      for (var i = 0; i < spans.length; i++)
        spans[i].style.color = blend(a, b, spans.length > 1 ? i / (spans.length - 1) : 0);
    },
    highlight: function (el) {
      var colour = attr(el, "color", "#ffff00"), old = el.style.backgroundColor;
      el.addEventListener("mouseover", function () { el.style.backgroundColor = colour; });
      el.addEventListener("mouseout", function () { el.style.backgroundColor = old; });
    },
    mirror: function (el) {
      var copy = el.cloneNode(true);
      copy.removeAttribute("data-effect");
      copy.removeAttribute("id");
      copy.style.transform = "scaleY(-1)";
      copy.style.opacity = "0.35";
      copy.style.margin = "0";
      el.style.marginBottom = "0";
      el.parentNode.insertBefore(copy, el.nextSibling);
    },
    mix: function (el) {
      var text = el.textContent, pool = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
      var id = every(speed(el, 50), function (n) {
        var done = Math.floor(n / 3), out = text.substr(0, done), i;
        for (i = done; i < text.length; i++)
          out += text.charAt(i) === " " ? " " : pool.charAt(Math.floor(Math.random() * pool.length));
        el.textContent = out;
        if (done >= text.length) window.clearInterval(id);
      });
    },
    open: function (el) {
      el.style.display = "inline-block";
      el.style.clipPath = "inset(0 50% 0 50%)";
      el.style.transition = "clip-path " + speed(el, 1500) + "ms ease-in-out";
      window.setTimeout(function () { el.style.clipPath = "inset(0 0 0 0)"; }, 50);
    },
    position: function (el) {
      el.style.position = "absolute";
      el.style.left = attr(el, "left", "0") + "px";
      el.style.top = attr(el, "top", "0") + "px";
    },
    rainbow: function (el) {
      var spans = letters(el);
      every(speed(el, 150), function (n) {
        for (var i = 0; i < spans.length; i++)
          spans[i].style.color = rainbowColours[(i + n) % rainbowColours.length];
      });
    },
    reverse: function (el) {
      el.textContent = el.textContent.split("").reverse().join("");
    },
    scrolling: function (el) {
      var inner = document.createElement("span"), x = 0;
      inner.textContent = el.textContent;
      inner.style.display = "inline-block";
      inner.style.whiteSpace = "nowrap";
      el.textContent = "";
      el.style.overflow = "hidden";
      el.style.whiteSpace = "nowrap";
      el.appendChild(inner);
      every(speed(el, 20), function () {
        x -= 1;
        if (x < -inner.offsetWidth) x = el.clientWidth;
        inner.style.transform = "translateX(" + x + "px)";
      });
    },
    shadowbox: function (el) {
      el.style.display = "inline-block";
      el.style.padding = "0.5em 1em";
      el.style.border = "1px solid " + attr(el, "color2", "#999999");
      el.style.backgroundColor = attr(el, "color", "#ffffff");
      el.style.boxShadow = "6px 6px 8px rgba(0, 0, 0, 0.45)";
    },
    shadow: function (el) {
      el.style.textShadow = "3px 3px 4px " + attr(el, "color", "#808080");
    },
    shaking: function (el) {
      el.style.display = "inline-block";
      every(speed(el, 40), function () {
        el.style.transform = "translate(" + (Math.random() * 4 - 2) + "px, " + (Math.random() * 4 - 2) + "px)";
      });
    },
    write: function (el) {
      var text = el.textContent;
      el.textContent = "";
      var id = every(speed(el, 100), function (n) {
        el.textContent = text.substr(0, n + 1);
        if (n + 1 >= text.length) window.clearInterval(id);
      });
    }
  };

  function apply(el, name) {
    var effect = effects[String(name).toLowerCase().replace(/[\s_-]/g, "")];
    if (effect) effect(el);
    return !!effect;
  }

  function applyAll() {
    var marked = document.querySelectorAll("[data-effect]"), i;
    for (i = 0; i < marked.length; i++) apply(marked[i], marked[i].getAttribute("data-effect"));
  }

  window.TextEffects = { apply: apply, names: Object.keys(effects) };
  if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", applyAll);
  else applyAll();
})(window, document);
