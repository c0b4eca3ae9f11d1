// Draws the scenario held in #scenario-data: the plan of the line, the profile
// (elevation, speed limit, objects) along a km axis that zooms and pans, and the
// findings. Positions are metres from the start of the line. An object in cell
// i stands at (i - 1) * 50 m; the line's properties (gradient, speed limit) of
// cell c hold from c * 50 m, as the compiler fills them.
(function () {
  "use strict";
  var errors = [];
  window.addEventListener("error", function (event) { errors.push(String(event.message)); });

  var data = JSON.parse(document.getElementById("scenario-data").textContent);
  // The page's words in the reader's language, by their English text; {1}, {2}
  // in a text take the values that follow it.
  var WORDS = JSON.parse(document.getElementById("page-words").textContent);
  function T(text) {
    var values = arguments;
    return (WORDS[text] || text).replace(/\{(\d)\}/g, function (whole, n) {
      return n >= 1 && n < values.length ? String(values[n]) : whole;
    });
  }
  var SVG = "http://www.w3.org/2000/svg";
  var CELL = 50;
  var KIND_LABELS = {
    1: T("signal"), 2: T("restriction end board"), 3: T("restriction start board"),
    4: T("restriction warning board"), 5: T("pre-warning cell"), 6: T("maximum-speed indicator board"),
    10: T("station stop marker"), 12: T("code-reduction point"), 13: T("code-cut point"),
    14: T("indication board")
  };
  // Lanes of the profile, top to bottom, and the kinds drawn in each.
  var LANES = [
    { title: T("signals"), kinds: [1] },
    { title: T("boards"), kinds: [6, 14] },
    { title: T("restrictions"), kinds: [2, 3, 4, 5] },
    { title: T("stops, codes"), kinds: [10, 12, 13] }
  ];

  function objectMetres(o) { return (o.cell - 1) * CELL; }
  function pad2(n) { return (n < 10 ? "0" : "") + n; }
  function clock(seconds) {
    if (!seconds) return "";
    var s = ((seconds % 86400) + 86400) % 86400;
    return pad2(Math.floor(s / 3600)) + ":" + pad2(Math.floor(s / 60) % 60) + ":" + pad2(s % 60);
  }
  function km(m) {
    var whole = Math.floor(m / 1000), rest = Math.round(m - whole * 1000);
    return "km " + whole + "+" + ("00" + rest).slice(-3);
  }
  function el(tag, attrs, text) {
    var node = document.createElementNS(SVG, tag);
    for (var key in attrs) node.setAttribute(key, attrs[key]);
    if (text !== undefined) node.textContent = text;
    return node;
  }
  function html(tag, attrs, text) {
    var node = document.createElement(tag);
    for (var key in attrs) node.setAttribute(key, attrs[key]);
    if (text !== undefined) node.textContent = text;
    return node;
  }

  // --- The line's extent and its properties per cell ---------------------------
  var lastCell = data.lastCell;
  var lineEnd = data.length > 0 ? data.length
              : Math.max(0, (lastCell - 1) * CELL - 7000);
  var fullEnd = Math.max(lineEnd, lastCell > 0 ? lastCell * CELL : 1000, 1000);
  var cells = Math.max(lastCell + 1, 1);

  // Elevation at the start of every cell, integrated from the gradients
  // (permille over 50 m); cells with no gradient written count as level.
  var gradient = new Float64Array(cells), elevation = new Float64Array(cells + 1);
  (function () {
    var runs = data.gradient;
    for (var r = 0; r < runs.length; r++) {
      var to = r + 1 < runs.length ? runs[r + 1][0] : cells;
      for (var c = runs[r][0]; c < to; c++) gradient[c] = runs[r][1] === null ? 0 : runs[r][1];
    }
    for (var i = 0; i < cells; i++) elevation[i + 1] = elevation[i] + gradient[i] * CELL / 1000;
  })();
  var elevMin = Infinity, elevMax = -Infinity;
  for (var i0 = 0; i0 <= cells; i0++) {
    elevMin = Math.min(elevMin, elevation[i0]);
    elevMax = Math.max(elevMax, elevation[i0]);
  }
  var maxSpeed = 0;
  data.speed.forEach(function (run) { maxSpeed = Math.max(maxSpeed, run[1]); });
  data.objects.forEach(function (o) {
    if (o.kind === 6) {
      for (var k = 0; k < 3; k++) maxSpeed = Math.max(maxSpeed, Math.floor(o.values[k] / 100) * 5);
    }
  });
  maxSpeed = Math.max(20, Math.ceil((maxSpeed + 10) / 20) * 20);

  var byId = {};
  data.objects.forEach(function (o) { byId[o.id] = o; });
  var counts = {};
  data.objects.forEach(function (o) { counts[o.name] = (counts[o.name] || 0) + 1; });

  // Speed restrictions: each start board with the next end board after it.
  var restrictions = [];
  (function () {
    var open = null;
    data.objects.forEach(function (o) {
      if (o.kind === 3) open = o;
      if (o.kind === 2 && open) {
        restrictions.push({ from: objectMetres(open), to: objectMetres(o), speed: open.values[0] });
        open = null;
      }
    });
  })();

  // --- Page skeleton ---------------------------------------------------------
  var app = document.getElementById("app");
  app.textContent = "";
  var header = html("header");
  header.appendChild(html("h1", {}, data.title));
  header.appendChild(html("span", { "class": "origin" }, data.origin));
  var status = html("span", { "class": "badge", id: "status" });
  var errorCount = data.diagnostics.filter(function (d) { return d.severity === "error"; }).length;
  var warningCount = data.diagnostics.filter(function (d) { return d.severity === "warning"; }).length;
  if (data.fatal) {
    status.className += " bad";
    status.textContent = T("fatal error {1}: no scenario file would be written", data.fatal);
  } else if (data.status && data.status.code !== 0) {
    status.className += " bad";
    status.textContent = T("status {1} at {2} m: {3}", data.status.code, data.status.position,
        data.status.meaning) + (data.status.src ? " (" + data.status.src + ")" : "");
  } else if (data.problems.length) {
    status.className += " bad";
    status.textContent = data.problems.join("; ");
  } else if (data.status) {
    status.className += warningCount ? " warn" : " ok";
    status.textContent = warningCount ? T("compiles: status 0, {1} warnings", warningCount)
                                      : T("compiles: status 0");
  } else {
    status.className += " ok";
    status.textContent = T("read from the scenario files");
  }
  header.appendChild(status);
  var countText = Object.keys(counts).sort().map(function (name) {
    return name + " " + counts[name];
  });
  header.appendChild(html("span", { id: "counts" },
      T("{1} km, {2} stations; ", (lineEnd / 1000).toFixed(1), data.stations.length) +
      countText.join(", ")));
  app.appendChild(header);
  if (data.problems.length && (data.fatal || (data.status && data.status.code !== 0))) {
    data.diagnostics = data.diagnostics.concat(data.problems.map(function (p) {
      return { severity: "error", id: "", message: p, position: null, file: null, notes: [] };
    }));
  }

  // What is marked on the line: every finding with a position, and the build's
  // status code at its recorded position when no finding tells of it already.
  var marks = data.diagnostics.filter(function (d) { return d.position !== null; });
  // (A code that records no position leaves 0 there: nothing to mark then.)
  if (data.status && data.status.code !== 0 && data.status.position !== 0 &&
      !marks.some(function (d) { return d.id === "S" + data.status.code; })) {
    marks.push({ severity: "error", id: "S" + data.status.code, position: data.status.position,
                 message: T("status {1}: {2}", data.status.code, data.status.meaning),
                 file: data.status.src ? data.status.src.replace(/:\d+$/, "") : null,
                 line: data.status.src ? data.status.src.replace(/^.*:/, "") : null });
  }

  var findings = html("ul", { id: "findings" });
  data.diagnostics.forEach(function (d) {
    var item = html("li", { "class": d.severity });
    var where = d.file ? d.file + ":" + d.line + (d.column ? ":" + d.column : "") + ": " : "";
    item.appendChild(html("span", { "class": "src" }, where));
    item.appendChild(document.createTextNode(d.severity + ": " + d.message +
        (d.id ? " [" + d.id + "]" : "") + (d.position !== null ? T(" at {1}", km(d.position)) : "")));
    if (d.position !== null) item.addEventListener("click", function () { jumpTo(d.position); });
    findings.appendChild(item);
  });
  app.appendChild(findings);

  var controls = html("div", { id: "controls" });
  var input = html("input", { id: "jump", type: "text", placeholder: T("127000, 127+000 or a name"),
                              "aria-label": T("position or station to jump to") });
  var go = html("button", { type: "button" }, T("Go"));
  var zoomIn = html("button", { type: "button", title: T("zoom in (+)") }, "+");
  var zoomOut = html("button", { type: "button", title: T("zoom out (-)") }, "\u2212");
  var whole = html("button", { type: "button" }, T("Whole line"));
  var range = html("span", { id: "range" });
  controls.appendChild(html("label", { "for": "jump" }, T("Jump to")));
  [input, go, zoomIn, zoomOut, whole, range].forEach(function (n) { controls.appendChild(n); });
  app.appendChild(controls);

  var main = html("div", { id: "main" });
  var planPanel = html("div", { "class": "panel" });
  planPanel.appendChild(html("h2", {}, T("Plan")));
  var plan = el("svg", { id: "plan", role: "img", "aria-label": T("plan of the line") });
  planPanel.appendChild(plan);
  var profilePanel = html("div", { "class": "panel" });
  profilePanel.appendChild(html("h2", {}, T("Profile, speed limit and objects")));
  var profile = el("svg", { id: "profile", role: "img", "aria-label": T("profile of the line") });
  profilePanel.appendChild(profile);
  main.appendChild(planPanel);
  main.appendChild(profilePanel);
  app.appendChild(main);

  var tables = html("div", { id: "tables" });
  var stationTable = html("table", { id: "stations" });
  var head = html("tr");
  [T("Station"), T("Kind"), T("At"), T("Extent"), T("Scheduled"), T("Stands"), T("Source")]
      .forEach(function (text, i) {
        head.appendChild(html("th", i >= 2 && i <= 5 ? { "class": "num" } : {}, text));
      });
  stationTable.appendChild(html("thead")).appendChild(head);
  var stationBody = html("tbody");
  data.stations.forEach(function (s) {
    var row = html("tr");
    [s.name, String(s.kind), km(s.at), s.from + " \u2013 " + s.to + " m", clock(s.time),
     s.stand ? s.stand + " s" : "", s.src || T("row {1}", s.row)].forEach(function (text, i) {
      row.appendChild(html("td", i >= 2 && i <= 5 ? { "class": "num" } : {}, text));
    });
    row.addEventListener("click", function () { showRange(s.from - 2000, s.to + 2000); });
    stationBody.appendChild(row);
  });
  stationTable.appendChild(stationBody);
  tables.appendChild(stationTable);
  app.appendChild(tables);

  var tooltip = html("div", { id: "tooltip" });
  document.body.appendChild(tooltip);
  var probe = html("pre", { id: "probe" });
  document.body.appendChild(probe);

  // --- The window of the km axis ---------------------------------------------
  var view = { a: 0, b: fullEnd };
  var cursorAt = null;
  var MIN_SPAN = 400;

  function showRange(a, b) {
    var span = Math.max(MIN_SPAN, Math.min(b - a, fullEnd));
    var mid = (a + b) / 2;
    a = Math.max(0, Math.min(mid - span / 2, fullEnd - span));
    view.a = a;
    view.b = a + span;
    draw();
    if (history.replaceState && !/selftest/.test(location.hash)) {
      history.replaceState(null, "", "#view=" + Math.round(view.a) + "," + Math.round(view.b) +
                           location.hash.replace(/^#view=\d+,\d+/, "").replace(/^#.*/, ""));
    }
  }
  function jumpTo(m) {
    cursorAt = m;
    var span = view.b - view.a >= fullEnd * 0.9 ? 5000 : view.b - view.a;
    showRange(m - span / 2, m + span / 2);
  }
  function zoom(factor, around) {
    var at = around === undefined ? (view.a + view.b) / 2 : around;
    showRange(at - (at - view.a) * factor, at + (view.b - at) * factor);
  }
  // "127000", "127000 m", "127+000", "km 127+000", "127 km", "127,5 km" or a station name.
  function parsePosition(text) {
    var t = text.trim().toLowerCase().replace(/^km\s*/, "");
    var plus = /^(-?\d+)\s*\+\s*(\d{1,3})$/.exec(t);
    if (plus) return Number(plus[1]) * 1000 + Number(plus[2]);
    var kmText = /^(-?\d+(?:[.,]\d+)?)\s*km$/.exec(t);
    if (kmText) return Number(kmText[1].replace(",", ".")) * 1000;
    var metres = /^(-?\d+(?:\.\d+)?)\s*m?$/.exec(t);
    if (metres) return Number(metres[1]);
    for (var i = 0; i < data.stations.length; i++) {
      if (data.stations[i].name.toLowerCase().indexOf(t) >= 0 && t) return data.stations[i].at;
    }
    return null;
  }
  function doJump() {
    var m = parsePosition(input.value);
    if (m === null) {
      input.style.outline = "2px solid " + "#c0262d";
      return;
    }
    input.style.outline = "";
    jumpTo(m);
  }
  go.addEventListener("click", doJump);
  input.addEventListener("keydown", function (e) { if (e.key === "Enter") doJump(); });
  zoomIn.addEventListener("click", function () { zoom(0.5); });
  zoomOut.addEventListener("click", function () { zoom(2); });
  whole.addEventListener("click", function () { cursorAt = null; showRange(0, fullEnd); });
  document.addEventListener("keydown", function (e) {
    if (e.target === input) return;
    if (e.key === "+" || e.key === "=") zoom(0.5);
    if (e.key === "-") zoom(2);
    if (e.key === "ArrowLeft") showRange(view.a - (view.b - view.a) / 4, view.b - (view.b - view.a) / 4);
    if (e.key === "ArrowRight") showRange(view.a + (view.b - view.a) / 4, view.b + (view.b - view.a) / 4);
  });

  // --- Hover -----------------------------------------------------------------
  function objectText(o) {
    var m = objectMetres(o);
    return (KIND_LABELS[o.kind] || o.name) + "\n" + o.details + "\n" +
        T("{1} ({2} m), cell {3}", km(m), m, o.cell) + "\n" + T("values {1}", o.values.join(", ")) +
        "\n" + (o.src ? T("source {1}", o.src) : T("no source line: cell {1}, {2} m", o.cell, m));
  }
  function showTip(text, x, y) {
    tooltip.textContent = text;
    tooltip.style.display = "block";
    tooltip.style.left = Math.min(x + 14, window.innerWidth - 370) + "px";
    tooltip.style.top = (y + 14) + "px";
  }
  function hideTip() { tooltip.style.display = "none"; }
  function hover(id) {
    var o = byId[id];
    if (!o) return null;
    var m = objectMetres(o);
    if (m < view.a || m > view.b) jumpTo(m);
    var node = profile.querySelector('[data-id="' + id + '"]');
    var text = objectText(o);
    var box = node ? node.getBoundingClientRect() : { left: 100, top: 100 };
    Array.prototype.forEach.call(profile.querySelectorAll(".hovered"), function (n) {
      n.classList.remove("hovered");
    });
    if (node) node.classList.add("hovered");
    showTip(text, box.left, box.top);
    return text;
  }
  profile.addEventListener("mousemove", function (e) {
    var target = e.target.closest ? e.target.closest("[data-tip]") : null;
    if (target) showTip(target.getAttribute("data-tip"), e.clientX, e.clientY);
    else if (e.target.getAttribute && e.target.getAttribute("data-id") !== null) {
      showTip(objectText(byId[e.target.getAttribute("data-id")]), e.clientX, e.clientY);
    } else hideTip();
  });
  profile.addEventListener("mouseleave", hideTip);
  plan.addEventListener("mousemove", function (e) {
    var target = e.target.closest ? e.target.closest("[data-tip]") : null;
    if (target) showTip(target.getAttribute("data-tip"), e.clientX, e.clientY); else hideTip();
  });
  plan.addEventListener("mouseleave", hideTip);

  // --- Zoom and pan with the mouse --------------------------------------------
  var geometry = { left: 72, right: 40, width: 900 };
  function metresAt(clientX) {
    var box = profile.getBoundingClientRect();
    var x = (clientX - box.left) * (geometry.width / box.width);
    return view.a + (x - geometry.left) / (geometry.width - geometry.left - geometry.right) *
        (view.b - view.a);
  }
  profile.addEventListener("wheel", function (e) {
    e.preventDefault();
    zoom(e.deltaY > 0 ? 1.25 : 0.8, metresAt(e.clientX));
  }, { passive: false });
  var drag = null;
  profile.addEventListener("mousedown", function (e) {
    drag = { x: e.clientX, a: view.a, b: view.b };
    profile.classList.add("dragging");
  });
  window.addEventListener("mousemove", function (e) {
    if (!drag) return;
    var box = profile.getBoundingClientRect();
    var scale = (drag.b - drag.a) / (box.width * (geometry.width - geometry.left - geometry.right) /
        geometry.width);
    var shift = (drag.x - e.clientX) * scale;
    showRange(drag.a + shift, drag.b + shift);
  });
  window.addEventListener("mouseup", function () {
    drag = null;
    profile.classList.remove("dragging");
  });
  profile.addEventListener("dblclick", function (e) { zoom(0.5, metresAt(e.clientX)); });

  // --- The plan ----------------------------------------------------------------
  var points = data.plan;
  function planAt(m) {
    if (!points.length) return null;
    var lo = 0, hi = points.length - 1;
    if (m <= points[0][0]) return points[0];
    if (m >= points[hi][0]) return points[hi];
    while (hi - lo > 1) {
      var mid = (lo + hi) >> 1;
      if (points[mid][0] <= m) lo = mid; else hi = mid;
    }
    var p = points[lo], q = points[hi], t = (m - p[0]) / (q[0] - p[0]);
    return [m, p[1] + (q[1] - p[1]) * t, p[2] + (q[2] - p[2]) * t];
  }
  function tickStep(span, count) {
    var raw = span / count, unit = Math.pow(10, Math.floor(Math.log10(raw)));
    var steps = [1, 2, 5, 10];
    for (var i = 0; i < steps.length; i++) if (steps[i] * unit >= raw) return steps[i] * unit;
    return 10 * unit;
  }

  function drawPlan() {
    plan.textContent = "";
    var W = 420, H = 470;
    plan.setAttribute("viewBox", "0 0 " + W + " " + H);
    if (!points.length) {
      plan.appendChild(el("text", { x: 20, y: 40, "class": "lane-label" },
          T("no plan geometry in this scenario")));
      return;
    }
    // Fit the part of the line in the window (all of it when the window is the line).
    var minX = Infinity, maxX = -Infinity, minY = Infinity, maxY = -Infinity;
    function include(p) {
      minX = Math.min(minX, p[1]); maxX = Math.max(maxX, p[1]);
      minY = Math.min(minY, p[2]); maxY = Math.max(maxY, p[2]);
    }
    var a = Math.min(view.a, lineEnd), b = Math.min(view.b, Math.max(lineEnd, 1));
    include(planAt(a));
    include(planAt(b));
    points.forEach(function (p) { if (p[0] >= a && p[0] <= b) include(p); });
    var spanX = Math.max(maxX - minX, 200), spanY = Math.max(maxY - minY, 200);
    var scale = Math.min((W - 40) / spanX, (H - 40) / spanY);
    var cx = (minX + maxX) / 2, cy = (minY + maxY) / 2;
    function sx(x) { return (W / 2 + (x - cx) * scale).toFixed(1); }
    function sy(y) { return (H / 2 - (y - cy) * scale).toFixed(1); }
    function path(from, to) {
      var d = [];
      var first = planAt(from);
      d.push(sx(first[1]) + "," + sy(first[2]));
      points.forEach(function (p) { if (p[0] > from && p[0] < to) d.push(sx(p[1]) + "," + sy(p[2])); });
      var last = planAt(to);
      d.push(sx(last[1]) + "," + sy(last[2]));
      return d.join(" ");
    }
    var lastMetre = points[points.length - 1][0];
    plan.appendChild(el("polyline", { "class": "plan-line", points: path(0, lastMetre) }));
    plan.appendChild(el("polyline", { "class": "plan-seen", points: path(a, b) }));
    // Kilometre marks along the line.
    var step = tickStep(b - a, 6);
    for (var m = Math.ceil(a / step) * step; m <= Math.min(b, lineEnd); m += step) {
      var p = planAt(m);
      var g = el("g", {});
      g.appendChild(el("circle", { cx: sx(p[1]), cy: sy(p[2]), r: 2, fill: "#2f6db5" }));
      g.appendChild(el("text", { x: Number(sx(p[1])) + 4, y: Number(sy(p[2])) + 10,
                                 "class": "plan-km" }, "km " + Math.round(m / 1000 * 10) / 10));
      plan.appendChild(g);
    }
    var shown = data.stations.filter(function (s) { return s.at >= a - 1 && s.at <= b + 1; });
    var labels = [];  // boxes of the names drawn, so that no two overlap
    shown.forEach(function (s) {
      var p = planAt(s.at);
      var g = el("g", { "data-tip": s.name + "\n" + T("{1}, extent {2} \u2013 {3} m", km(s.at), s.from, s.to) +
                                    (s.time ? "\n" + T("scheduled {1}", clock(s.time)) : "") });
      g.appendChild(el("circle", { cx: sx(p[1]), cy: sy(p[2]), r: 4, "class": "plan-station" }));
      var lx = Number(sx(p[1])) + 6, ly = Number(sy(p[2])) - 4, lw = s.name.length * 7.8;
      // Near the right edge the name goes to the left of its point.
      if (lx + lw > W - 2) lx -= lw + 12;
      var free = labels.every(function (l) {
        return lx + lw < l[0] || lx > l[0] + l[2] || ly + 3 < l[1] - 11 || ly - 11 > l[1] + 3;
      });
      if (free) {
        labels.push([lx, ly, lw]);
        g.appendChild(el("text", { x: lx, y: ly, "class": "plan-label" }, s.name));
      }
      plan.appendChild(g);
    });
    marks.forEach(function (d) {
      if (d.position < a || d.position > b) return;
      var p = planAt(d.position);
      plan.appendChild(el("circle", { cx: sx(p[1]), cy: sy(p[2]), r: 6,
                                      "class": "finding-mark " + d.severity,
                                      "data-tip": d.severity + ": " + d.message }));
    });
    if (cursorAt !== null) {
      var c = planAt(cursorAt);
      plan.appendChild(el("circle", { cx: sx(c[1]), cy: sy(c[2]), r: 7, fill: "none",
                                      stroke: "#e0218a", "stroke-width": 2 }));
    }
  }

  // --- The profile -------------------------------------------------------------
  function drawProfile() {
    profile.textContent = "";
    var W = geometry.width, H = 470, L = geometry.left, R = W - geometry.right;
    profile.setAttribute("viewBox", "0 0 " + W + " " + H);
    var a = view.a, b = view.b;
    function X(m) { return L + (m - a) / (b - a) * (R - L); }
    var laneTop = 22, laneH = 24;
    var elevTop = laneTop + LANES.length * laneH + 10, elevBottom = elevTop + 150;
    var speedTop = elevBottom + 22, speedBottom = H - 30;

    var defs = el("clipPath", { id: "inside" });
    defs.appendChild(el("rect", { x: L, y: 0, width: R - L, height: H }));
    profile.appendChild(defs);
    var body = el("g", { "clip-path": "url(#inside)" });

    // Kilometre grid and axis.
    var step = tickStep(b - a, 10);
    var axis = el("g", { "class": "axis" });
    for (var m = Math.ceil(a / step) * step; m <= b; m += step) {
      axis.appendChild(el("line", { x1: X(m), x2: X(m), y1: 14, y2: H - 22 }));
      axis.appendChild(el("text", { x: X(m), y: H - 8, "text-anchor": "middle" },
          step >= 1000 ? "km " + Math.round(m / 1000 * 10) / 10 : km(m)));
    }
    profile.appendChild(axis);
    if (lineEnd < b) {
      body.appendChild(el("rect", { x: X(lineEnd), y: 14, width: Math.max(0, X(b) - X(lineEnd)),
                                    height: H - 36, fill: "#eef0f3" }));
    }

    // Stations: a band over their extent, the name where it does not run into the last one.
    var nameEnd = -Infinity;
    data.stations.forEach(function (s) {
      if (s.to < a || s.from > b) return;
      var g = el("g", { "data-tip": s.name + " " + T("(kind {1})", s.kind) + "\n" +
                                    T("{1}, extent {2} \u2013 {3} m", km(s.at), s.from, s.to) +
                                    (s.time ? "\n" + T("scheduled {1}", clock(s.time)) : "") +
                                    (s.stand ? T(", stands {1} s", s.stand) : "") +
                                    "\n" + T("source {1}", s.src || T("row {1}", s.row)) });
      g.appendChild(el("rect", { x: X(s.from), y: 14, width: Math.max(2, X(s.to) - X(s.from)),
                                 height: H - 36, "class": "station-band" }));
      if (X(s.at) > nameEnd) {
        g.appendChild(el("text", { x: X(s.at) + 2, y: 12, "class": "station-name" }, s.name));
        nameEnd = X(s.at) + 2 + s.name.length * 6.2 + 6;
      }
      body.appendChild(g);
    });

    // Tunnels over the elevation.
    data.tunnels.forEach(function (t) {
      var from = t.from * CELL, to = (t.to + 1) * CELL;
      if (to < a || from > b) return;
      body.appendChild(el("rect", { x: X(from), y: elevTop - 6, width: Math.max(2, X(to) - X(from)),
                                    height: 5, "class": "tunnel",
                                    "data-tip": T("tunnel, type {1}", t.type) + "\n" + km(from) + " \u2013 " +
                                    km(to) + "\n" + (t.src ? T("source {1}", t.src)
                                                           : T("cells {1} \u2013 {2}", t.from, t.to)) }));
    });

    // Elevation, sampled at most twice a pixel.
    var c0 = Math.max(0, Math.floor(a / CELL)), c1 = Math.min(cells, Math.ceil(b / CELL) + 1);
    var lo = Infinity, hi = -Infinity;
    for (var c = c0; c <= c1; c++) { lo = Math.min(lo, elevation[c]); hi = Math.max(hi, elevation[c]); }
    if (hi - lo < 10) { var mid = (hi + lo) / 2; lo = mid - 5; hi = mid + 5; }
    function EY(e) { return elevBottom - (e - lo) / (hi - lo) * (elevBottom - elevTop - 8); }
    var every = Math.max(1, Math.floor((c1 - c0) / ((R - L) * 2)));
    var d = "M" + X(c0 * CELL).toFixed(1) + "," + elevBottom;
    for (c = c0; c <= c1; c += every) d += " L" + X(c * CELL).toFixed(1) + "," + EY(elevation[c]).toFixed(1);
    d += " L" + X(c1 * CELL).toFixed(1) + "," + EY(elevation[c1]).toFixed(1);
    d += " L" + X(c1 * CELL).toFixed(1) + "," + elevBottom + " Z";
    body.appendChild(el("path", { d: d, "class": "elevation" }));
    profile.appendChild(el("text", { x: 4, y: elevTop + 4, "class": "lane-label" },
        Math.round(hi) + " m"));
    profile.appendChild(el("text", { x: 4, y: elevBottom, "class": "lane-label" },
        Math.round(lo) + " m"));
    profile.appendChild(el("text", { x: 4, y: (elevTop + elevBottom) / 2, "class": "lane-label" },
        T("height")));
    // Gradient values at their changes, where there is room for them.
    var lastLabel = -Infinity;
    data.gradient.forEach(function (run, i) {
      if (run[1] === null) return;
      var to = i + 1 < data.gradient.length ? data.gradient[i + 1][0] : cells;
      var from = run[0] * CELL, end = to * CELL;
      if (end < a || from > b) return;
      var x = X(Math.max(from, a));
      var tip = T("gradient {1} \u2030", run[1]) + "\n" + km(from) + " \u2013 " + km(end);
      body.appendChild(el("rect", { x: X(from), y: elevBottom - 4, width: Math.max(1, X(end) - X(from)),
                                    height: 4, fill: run[1] > 0 ? "#c98b4a" : run[1] < 0 ? "#6f9bd1" : "#c9cfd6",
                                    "data-tip": tip }));
      if (x - lastLabel > 34) {
        body.appendChild(el("text", { x: x + 2, y: elevBottom - 7, "class": "grad-label" },
            (run[1] > 0 ? "+" : "") + run[1] + "\u2030"));
        lastLabel = x;
      }
    });

    // Speed limit (the train's, from the cells) and the restrictions.
    function SY(v) { return speedBottom - v / maxSpeed * (speedBottom - speedTop); }
    for (var v = 0; v <= maxSpeed; v += maxSpeed > 120 ? 40 : 20) {
      profile.appendChild(el("line", { x1: L, x2: R, y1: SY(v), y2: SY(v), "class": "gridline" }));
      profile.appendChild(el("text", { x: R + 4, y: SY(v) + 3, "class": "lane-label" }, v));
    }
    profile.appendChild(el("text", { x: 4, y: (speedTop + speedBottom) / 2, "class": "lane-label" },
        "km/h"));
    var sd = "";
    data.speed.forEach(function (run, i) {
      var to = i + 1 < data.speed.length ? data.speed[i + 1][0] : cells;
      var from = run[0] * CELL, end = to * CELL;
      if (end < a || from > b) return;
      sd += (sd ? " L" : "M") + X(Math.max(from, a - 1)).toFixed(1) + "," + SY(run[1]).toFixed(1) +
            " L" + X(Math.min(end, b + 1)).toFixed(1) + "," + SY(run[1]).toFixed(1);
      body.appendChild(el("rect", { x: X(from), y: SY(run[1]) - 5, width: Math.max(1, X(end) - X(from)),
                                    height: 10, fill: "transparent",
                                    "data-tip": T("speed limit {1} km/h", run[1]) + "\n" + km(from) +
                                    " \u2013 " + km(end) }));
    });
    body.appendChild(el("path", { d: sd, "class": "speed-line" }));
    restrictions.forEach(function (r) {
      if (r.to < a || r.from > b) return;
      body.appendChild(el("rect", { x: X(r.from), y: SY(r.speed), width: Math.max(2, X(r.to) - X(r.from)),
                                    height: speedBottom - SY(r.speed), "class": "restriction",
                                    "data-tip": T("speed restriction {1} km/h", r.speed) + "\n" + km(r.from) +
                                    " \u2013 " + km(r.to) }));
    });

    // Objects, one lane per family.
    LANES.forEach(function (lane, i) {
      var y = laneTop + i * laneH + laneH / 2;
      profile.appendChild(el("line", { x1: L, x2: R, y1: y, y2: y, "class": "gridline" }));
      profile.appendChild(el("text", { x: 4, y: y + 3, "class": "lane-label" }, lane.title));
    });
    var drawn = 0;
    data.objects.forEach(function (o) {
      var m = objectMetres(o);
      if (m < a || m > b) return;
      var lane = 0;
      for (var i = 0; i < LANES.length; i++) if (LANES[i].kinds.indexOf(o.kind) >= 0) lane = i;
      var y = laneTop + lane * laneH + laneH / 2, x = X(m);
      var shape;
      var attrs = { "class": "object", "data-id": o.id };
      if (o.kind === 1) {
        attrs.cx = x; attrs.cy = y; attrs.r = 4;
        attrs.fill = (o.values[3] % 10) >= 6 ? "#1f8a4c" : (o.values[3] % 10) >= 3 ? "#d9a21b" : "#d1342f";
        shape = el("circle", attrs);
      } else if (o.kind === 6 || o.kind === 14) {
        attrs.x = x - 4; attrs.y = y - 5; attrs.width = 8; attrs.height = 10;
        attrs.fill = o.kind === 6 ? "#ffffff" : "#2f6db5";
        attrs.stroke = o.kind === 6 ? "#d1342f" : "#1d4f86";
        shape = el("rect", attrs);
      } else if (o.kind >= 2 && o.kind <= 5) {
        var s = o.kind === 5 ? 3 : 6;
        attrs.points = x + "," + (y - s) + " " + (x + s) + "," + (y + s) + " " + (x - s) + "," + (y + s);
        attrs.fill = o.kind === 4 ? "#f2c94c" : o.kind === 5 ? "#f6e3a1" : o.kind === 3 ? "#d1342f" : "#6fcf97";
        attrs.stroke = "#7a5a00";
        shape = el("polygon", attrs);
      } else if (o.kind === 10) {
        attrs.points = x + "," + (y + 7) + " " + x + "," + (y - 7) + " " + (x + 8) + "," + (y - 4) +
                       " " + x + "," + (y - 1);
        attrs.fill = "#7b4fb3"; attrs.stroke = "#7b4fb3";
        shape = el("polygon", attrs);
      } else {
        attrs.cx = x; attrs.cy = y; attrs.r = 3;
        attrs.fill = o.kind === 12 ? "#0f7b8a" : "#555";
        shape = el("circle", attrs);
      }
      body.appendChild(shape);
      if ((o.kind === 6 || o.kind === 14) && (b - a) < 30000) {
        body.appendChild(el("text", { x: x + 6, y: y + 3, "class": "lane-label" },
            o.kind === 6 ? String(Math.floor(o.values[0] / 100) * 5) : o.details.slice(0, 24)));
      }
      drawn++;
    });

    // Findings and the jump cursor.
    marks.forEach(function (f) {
      if (f.position < a || f.position > b) return;
      var x = X(f.position);
      body.appendChild(el("polygon", { points: x + ",16 " + (x + 7) + ",4 " + (x - 7) + ",4",
                                       "class": "finding-mark " + f.severity,
                                       "data-tip": f.severity + ": " + f.message +
                                       (f.file ? "\n" + f.file + ":" + f.line : "") }));
      body.appendChild(el("line", { x1: x, x2: x, y1: 16, y2: H - 22, stroke: "#c0262d",
                                    "stroke-width": 1, opacity: 0.5 }));
    });
    if (cursorAt !== null && cursorAt >= a && cursorAt <= b) {
      body.appendChild(el("line", { x1: X(cursorAt), x2: X(cursorAt), y1: 14, y2: H - 22,
                                    "class": "cursor-line" }));
    }
    profile.appendChild(body);
    profile.setAttribute("data-drawn", drawn);
    range.textContent = km(a) + " \u2013 " + km(b) + "  " + T("({1} objects shown)", drawn);
  }

  function draw() {
    drawPlan();
    drawProfile();
  }

  // What a test (or a curious author) can drive from outside.
  window.scenarioView = {
    zoomTo: function (a, b) {
      showRange(a, b);
      return { a: view.a, b: view.b, drawn: Number(profile.getAttribute("data-drawn")) };
    },
    jumpTo: function (m) { jumpTo(m); return { a: view.a, b: view.b }; },
    hover: hover,
    find: function (kind, cell) {
      for (var i = 0; i < data.objects.length; i++) {
        if (data.objects[i].kind === kind && data.objects[i].cell === cell) return data.objects[i].id;
      }
      return null;
    },
    view: function () { return { a: view.a, b: view.b }; },
    errors: errors
  };

  var start = /#view=(\d+),(\d+)/.exec(location.hash);
  if (start) showRange(Number(start[1]), Number(start[2])); else showRange(0, fullEnd);
  var readyAt = performance.now();
  // "#view=A,B&hover=KIND:CELL" opens with that object's values shown.
  var hoverAsked = /hover=(\d+):(\d+)/.exec(location.hash);
  if (hoverAsked) {
    var asked = window.scenarioView.find(Number(hoverAsked[1]), Number(hoverAsked[2]));
    if (asked !== null) hover(asked);
  }

  // A test asks through the address: #selftest=A,B,KIND,CELL zooms to A..B and
  // hovers the object of KIND in CELL, and writes what it saw into #probe.
  var selftest = /#selftest=(\d+),(\d+),(\d+),(\d+)/.exec(location.hash);
  if (selftest) {
    // Time from the start of the page's loading to the first drawing done.
    var result = { readyMs: Math.round(readyAt) };
    try {
      result.whole = { drawn: Number(profile.getAttribute("data-drawn")) };
      result.zoom = window.scenarioView.zoomTo(Number(selftest[1]), Number(selftest[2]));
      var id = window.scenarioView.find(Number(selftest[3]), Number(selftest[4]));
      result.hover = id === null ? null : window.scenarioView.hover(id);
      result.hovered = profile.querySelectorAll(".hovered").length;
      result.tooltipShown = tooltip.style.display === "block";
      // Typed as an author would: "km 127+000".
      window.scenarioView.zoomTo(Number(selftest[1]), Number(selftest[1]) + 2000);
      result.jump = window.scenarioView.jumpTo(parsePosition(km((Number(selftest[4]) - 1) * CELL)));
    } catch (e) {
      errors.push(String(e));
    }
    result.errors = errors;
    probe.textContent = JSON.stringify(result);
  }

  // In watch mode the compiler writes this file again after each save.
  if (data.watch) setTimeout(function () { location.reload(); }, 2000);
})();
