// Throughput of the npm package's decode in Node, from an array of VINs of the
// mix cli/bench/throughput.sh feeds kordel-decode: three in four of 13
// characters (some leave the model year open, some are rejected), one in four
// of 17. Run it pinned to one core with the package's folder (the staged one in
// the build tree, or an installed node_modules/kordel):
//
//   taskset -c 0 node web/npm/bench/bench.mjs build/npm/web/npm/kordel [count] [runs]
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [folder, count = '1000000', runs = '5'] = process.argv.slice(2);
if (!folder) {
  console.error('usage: bench.mjs PACKAGE_FOLDER [count] [runs]');
  process.exit(2);
}
const { decode } = await import(pathToFileURL(path.resolve(folder, 'node.js')));

const PREFIXES_13 = ['A1F031B3', 'A8A855H1', 'A9X855H1', 'A1A050A1', 'A9A439A1', 'A1F031BQ', 'A3A350A1'];
const PREFIXES_17 = ['1AMCM3877BK1', '1AMCM3577BK1', '2AMCM3877BK1'];
// A small generator of its own, so that every run decodes the same VINs.
let seed = 1;
const random = () => ((seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648);
const vins = Array.from({ length: Number(count) }, (_, i) => {
  const prefixes = i % 4 === 3 ? PREFIXES_17 : PREFIXES_13;
  return prefixes[Math.floor(random() * prefixes.length)] + String(i % 100000).padStart(5, '0');
});

const times = [];
for (let run = 0; run < Number(runs); ++run) {
  const start = process.cpuUsage();
  let decoded = 0;
  for (const vin of vins) decoded += decode(vin).results?.length ?? 0;
  const used = process.cpuUsage(start);
  times.push((used.user + used.system) / 1e6);
  if (decoded === 0) throw new Error('nothing decoded');
}
const median = times.sort((a, b) => a - b)[Math.floor(times.length / 2)];
console.log(`decode: ${vins.length} VINs, median ${median.toFixed(2)} s of CPU over ${runs} runs, ` +
  `${Math.round(vins.length / median).toLocaleString('en')} VINs/s (Node ${process.versions.node})`);
