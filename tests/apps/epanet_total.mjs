// Prints, as JSON, the EPANET engine's total base demand over the junctions
// of a network file, after solving its hydraulics once.
import { readFileSync } from "node:fs";
import { Workspace, Project, CountType, NodeType } from "epanet-js";

const ws = new Workspace();
await ws.loadModule();
const model = new Project(ws);
ws.writeFile("net.inp", readFileSync(process.argv[2], "utf8"));
model.open("net.inp", "report.rpt", "out.bin");
let total = 0;
for (let node = 1; node <= model.getCount(CountType.NodeCount); ++node) {
  if (model.getNodeType(node) !== NodeType.Junction) continue;
  for (let row = 1; row <= model.getNumberOfDemands(node); ++row) total += model.getBaseDemand(node, row);
}
model.solveH();
console.log(JSON.stringify({ total }));
