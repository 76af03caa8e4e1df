#!/usr/bin/env python3
"""Runs the generator's unit tests and writes a JUnit-style XML summary
(tests and failures) beside the GoogleTest results of the configuration."""
import os
import sys
import unittest
from xml.sax.saxutils import quoteattr

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, HERE)


def main():
    xml = sys.argv[sys.argv.index("--xml") + 1] if "--xml" in sys.argv else None
    suite = unittest.defaultTestLoader.discover(HERE, pattern="test_*.py")
    names = []

    def walk(s):
        for t in s:
            if isinstance(t, unittest.TestSuite):
                walk(t)
            else:
                names.append(t.id())
    walk(suite)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    failures = len(result.failures) + len(result.errors)
    if xml:
        failed = {t.id() for t, _ in result.failures + result.errors}
        cases = [f"<testcase name={quoteattr(n)}>{'<failure/>' if n in failed else ''}</testcase>" for n in names]
        with open(xml, "w") as f:
            f.write(f'<?xml version="1.0"?>\n<testsuites tests="{result.testsRun}" failures="{failures}">\n'
                    f'<testsuite name="skingen" tests="{result.testsRun}" failures="{failures}">\n'
                    + "\n".join(cases) + "\n</testsuite>\n</testsuites>\n")
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
