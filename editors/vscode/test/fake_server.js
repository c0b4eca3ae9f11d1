// A stand-in for `scenario-compiler lsp`: answers initialize and shutdown,
// and writes each message it reads, one JSON a line, to the file named by
// its first argument.
const fs = require('fs');

const log = process.argv[2];
fs.appendFileSync(log, JSON.stringify({ pid: process.pid }) + '\n');
let buffer = Buffer.alloc(0);

function send(message) {
  const body = Buffer.from(JSON.stringify({ jsonrpc: '2.0', ...message }), 'utf8');
  process.stdout.write(`Content-Length: ${body.length}\r\n\r\n`);
  process.stdout.write(body);
}

process.stdin.on('data', (chunk) => {
  buffer = Buffer.concat([buffer, chunk]);
  for (;;) {
    const end = buffer.indexOf('\r\n\r\n');
    if (end < 0) return;
    const length = Number(/Content-Length: (\d+)/i.exec(buffer.subarray(0, end).toString())[1]);
    if (buffer.length < end + 4 + length) return;
    const message = JSON.parse(buffer.subarray(end + 4, end + 4 + length).toString('utf8'));
    buffer = buffer.subarray(end + 4 + length);
    fs.appendFileSync(log, JSON.stringify(message) + '\n');
    if (message.method === 'initialize') send({ id: message.id, result: { capabilities: {} } });
    else if (message.method === 'shutdown') send({ id: message.id, result: null });
    else if (message.method === 'exit') process.exit(0);
  }
});
