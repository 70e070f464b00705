#!/usr/bin/env bash
# Builds a git repository of real code with a history of a few hundred commits, for the history
# bench and its checks: the kernel's kernel/, mm/ and lib/ folders (about 1,200 C files) added
# folder by folder, one commit per folder, then edited by a script: each later commit changes a
# few files (lines inserted, deleted, modified, comments and blank lines added, a file renamed,
# added or removed; comments are line comments, which cannot end a block comment early and
# so make no file the counter fails on), with a fixed seed, so that every build of the repository is the same.
# Tags every 50th commit. The corpus is only read.
#
#   bench/history-repo.sh DEST [EDITS] [CORPUS]   (DEST must not exist; EDITS commits of
#                                                   edits, default 250; CORPUS the source
#                                                   tree, default /work/corpus/linux-source-6.1)
set -euo pipefail
dest=$1
edits=${2:-250}
corpus=${3:-/work/corpus/linux-source-6.1}
if [ -e "$dest" ]; then
  echo "history-repo: $dest exists" >&2
  exit 2
fi
mkdir -p "$dest/home"
export HOME=$dest/home GIT_CONFIG_NOSYSTEM=1
export GIT_AUTHOR_NAME=Bench GIT_AUTHOR_EMAIL=bench@example.invalid
export GIT_COMMITTER_NAME=Bench GIT_COMMITTER_EMAIL=bench@example.invalid
repo=$dest/repo
git init -q -b main "$repo"
stamp=1600000000
commit() {
  stamp=$((stamp + 3600))
  git -C "$repo" add -A
  GIT_AUTHOR_DATE="@$stamp +0000" GIT_COMMITTER_DATE="@$stamp +0000" \
    git -C "$repo" commit -q --allow-empty -m "$1"
}
# Folder by folder: each top folder's own files, then each of its subfolders.
for top in kernel mm lib; do
  mkdir -p "$repo/$top"
  find "$corpus/$top" -maxdepth 1 -type f -exec cp {} "$repo/$top/" \;
  commit "$top: files"
  for sub in $(cd "$corpus/$top" && find . -mindepth 1 -maxdepth 1 -type d | sort); do
    cp -r "$corpus/$top/$sub" "$repo/$top/$sub"
    commit "$top: ${sub#./}"
  done
done
n=0
while [ "$n" -lt "$edits" ]; do
  n=$((n + 1))
  python3 - "$repo" "$n" <<'PY'
import os, random, sys
repo, n = sys.argv[1], int(sys.argv[2])
rng = random.Random(n)
files = sorted(os.path.join(d, f) for d, _, fs in os.walk(repo) if '/.git' not in d
               for f in fs if f.endswith(('.c', '.h')))
for path in rng.sample(files, 4):
    with open(path, 'rb') as f:
        lines = f.read().split(b'\n')
    for _ in range(rng.randint(1, 6)):
        i = rng.randrange(len(lines))
        what = rng.random()
        if what < 0.3:
            lines.insert(i, b'\tint edit_%d_%d = %d;' % (n, i, rng.randint(0, 99)))
        elif what < 0.5:
            lines.insert(i, b'// note %d: %d' % (n, i))
        elif what < 0.6:
            lines.insert(i, b'')
        elif what < 0.8 and len(lines) > 2:
            del lines[i]
        else:
            lines[i] = lines[i] + b' // changed %d' % n
    with open(path, 'wb') as f:
        f.write(b'\n'.join(lines))
if n % 20 == 0:
    old = rng.choice(files)
    os.rename(old, old[:-2] + '_moved' + old[-2:])
if n % 30 == 0:
    with open(os.path.join(repo, 'lib', 'added_%d.c' % n), 'w') as f:
        f.write('/* added */\nint added_%d(void)\n{\n\treturn %d;\n}\n' % (n, n))
if n % 45 == 0:
    os.remove(rng.choice(files))
PY
  commit "edit $n"
  if [ $((n % 50)) -eq 0 ]; then
    git -C "$repo" tag "r$n"
  fi
done
git -C "$repo" gc -q
echo "$repo: $(git -C "$repo" rev-list --count HEAD) commits, $(git -C "$repo" ls-files | wc -l) files"
