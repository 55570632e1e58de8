#!/usr/bin/env python3
"""scripts/check-cycles on small source trees: which ones it refuses."""
import os
import subprocess
import sys
import tempfile

SCRIPT = os.path.join(os.path.dirname(__file__), '..', '..', 'scripts', 'check-cycles')

# (what, {file: the headers it includes}, whether the check refuses the tree)
CASES = [
    ('folders one way', {'a/x.cpp': ['b/y.h'], 'b/y.h': []}, False),
    ('two folders each way', {'a/x.cpp': ['b/y.h'], 'b/y.h': [], 'b/z.cpp': ['a/w.h'], 'a/w.h': []}, True),
    ('a folder and its subfolder', {'a/x.cpp': ['a/p/y.h'], 'a/p/y.h': ['a/w.h'], 'a/w.h': []}, True),
    ('three folders round', {'a/x.h': ['b/y.h'], 'b/y.h': ['c/z.h'], 'c/z.h': ['a/w.h'], 'a/w.h': []}, True),
    ('two modules of one folder', {'a/x.h': ['a/y.h'], 'a/y.cpp': ['a/x.h'], 'a/y.h': []}, True),
]

failed = 0
for what, files, refused in CASES:
    with tempfile.TemporaryDirectory() as root:
        for name, includes in files.items():
            os.makedirs(os.path.join(root, os.path.dirname(name)), exist_ok=True)
            with open(os.path.join(root, name), 'w') as source:
                source.writelines(f'#include "{header}"\n' for header in includes)
        run = subprocess.run([sys.executable, SCRIPT, root], capture_output=True, text=True)
    if (run.returncode != 0) != refused:
        print(f'FAILED {what}: exit {run.returncode}\n{run.stdout}')
        failed += 1
print(f'{len(CASES) - failed} of {len(CASES)} trees judged right')
sys.exit(1 if failed else 0)
