#!/usr/bin/env node
// Reads a G-code program with an independent interpreter (gcode-toolpath, pinned in
// package.json) and prints what a controller would do, one line per fact:
//   move <G0|G1> <spindle M3|M4|M5> <G20|G21> <x1> <y1> <z1> <x2> <y2> <z2> <feed or ->
//   arc <G2|G3> <spindle> <units> <x1> <y1> <z1> <x2> <y2> <z2> <centre x> <centre y> <feed>
//   zword <line number>          for every line that carries a Z word
//   code <word>                  for every M word and S word, in order (e.g. "M4", "S1000")
//   end <program modal>          after the last line ("M2" when the program ends properly)
// Usage: check_gcode.js FILE
'use strict';
const Toolpath = require('gcode-toolpath');

const pending = [];
const toolpath = new Toolpath({
  position: { x: 0, y: 0, z: 0 },
  addLine: (modal, v1, v2) => {
    pending.push({ motion: modal.motion, spindle: modal.spindle, units: modal.units, v1, v2 });
  },
  addArcCurve: (modal, v1, v2, v0) => {
    pending.push({ motion: modal.motion, spindle: modal.spindle, units: modal.units, v1, v2, v0 });
  },
});

let feed = null;
const out = [];
toolpath.loadFromFileSync(process.argv[2], (data, index) => {
  let words = data.words || [];
  for (const [letter, value] of words) {
    if (letter === 'F') feed = value;
    if (letter === 'Z') out.push(`zword ${index + 1}`);
    if (letter === 'M' || letter === 'S') out.push(`code ${letter}${value}`);
  }
  // F is modal and applies to the move on its own line as well.
  for (const m of pending.splice(0)) {
    const p = [m.v1.x, m.v1.y, m.v1.z, m.v2.x, m.v2.y, m.v2.z].join(' ');
    if (m.v0) {
      out.push(`arc ${m.motion} ${m.spindle} ${m.units} ${p} ${m.v0.x} ${m.v0.y} ${feed}`);
    } else {
      out.push(`move ${m.motion} ${m.spindle} ${m.units} ${p} ${m.motion === 'G1' ? feed : '-'}`);
    }
  }
});
out.push(`end ${toolpath.getModal().program}`);
process.stdout.write(out.join('\n') + '\n');
