// A real SMTP server for the tests: npm smtp-server on 127.0.0.1 with AUTH PLAIN, LOGIN and
// CRAM-MD5 for one user, authentication optional. Every message received is stored as
// <maildir>/<n>.eml, with <n>.envelope holding "MAIL FROM" and "RCPT TO" lines. Once listening,
// the port is written to the port file.
//
//   node smtp_server.js PORT_FILE MAILDIR USER PASSWORD [secure|starttls CERT_FILE KEY_FILE] [xoauth2]
//
// With "secure" the server speaks TLS from the first byte; with "starttls" it offers STARTTLS.
// With "xoauth2" it offers AUTH XOAUTH2 too, takes any access token for USER and appends each
// token it was given to MAILDIR/access-tokens, one a line.
'use strict';

const fs = require('fs');
const path = require('path');
const { SMTPServer } = require('smtp-server');

const [portFile, maildir, user, password, ...options] = process.argv.slice(2);
const xoauth2 = options.includes('xoauth2');
const [tlsMode, certFile, keyFile] = options.filter((option) => option !== 'xoauth2');
let received = 0;

function authenticate(auth, session, callback) {
  if (auth.method === 'XOAUTH2') {
    fs.appendFileSync(path.join(maildir, 'access-tokens'), `${auth.accessToken}\n`);
    if (auth.username !== user) return callback(null, { data: { status: '401', schemes: 'bearer' } });
    return callback(null, { user: auth.username });
  }
  const valid = auth.username === user &&
      (auth.method === 'CRAM-MD5' ? auth.validatePassword(password) : auth.password === password);
  if (!valid) return callback(new Error('Invalid username or password'));
  return callback(null, { user: auth.username });
}

function store(stream, session, callback) {
  const name = path.join(maildir, String(++received));
  const chunks = [];
  stream.on('data', (chunk) => chunks.push(chunk));
  stream.on('end', () => {
    const envelope = [`MAIL FROM ${session.envelope.mailFrom.address}`]
      .concat(session.envelope.rcptTo.map((rcpt) => `RCPT TO ${rcpt.address}`));
    fs.writeFileSync(`${name}.envelope`, envelope.join('\n') + '\n');
    // The .eml file appears last: a test that sees it finds the envelope complete.
    fs.writeFileSync(`${name}.part`, Buffer.concat(chunks));
    fs.renameSync(`${name}.part`, `${name}.eml`);
    callback();
  });
}

function tlsOptions() {
  if (!tlsMode) return { disabledCommands: ['STARTTLS'] };
  const credentials = { key: fs.readFileSync(keyFile), cert: fs.readFileSync(certFile) };
  return tlsMode === 'secure' ? { secure: true, ...credentials } : credentials;
}

const server = new SMTPServer({
  ...tlsOptions(),
  allowInsecureAuth: true,
  authMethods: ['PLAIN', 'LOGIN', 'CRAM-MD5'].concat(xoauth2 ? ['XOAUTH2'] : []),
  authOptional: true,
  disableReverseLookup: true,
  logger: false,
  onAuth: authenticate,
  onData: store,
});

server.on('error', (error) => console.error(`smtp-server: ${error.message}`));
server.listen(0, '127.0.0.1', () => {
  fs.writeFileSync(`${portFile}.part`, String(server.server.address().port));
  fs.renameSync(`${portFile}.part`, portFile);
});
process.on('SIGTERM', () => server.close(() => process.exit(0)));
