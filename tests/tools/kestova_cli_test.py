#!/usr/bin/env python3
"""The kestova and sundrel-synth command-line tools, as a user runs them."""
import argparse
import json
import os
import subprocess
import sys
import tempfile
import unittest

TOOLS = {}


def run(*args, check=True):
    result = subprocess.run(list(args), capture_output=True, text=True, encoding="utf-8")
    if check and result.returncode != 0:
        raise AssertionError(f"{args} exited {result.returncode}: {result.stderr}")
    return result


class KestovaCli(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        out = run(TOOLS["synth"], "--length", "250", "--start", "1000", "--left", "60:0.06",
                  "--line", "京沪线", "--department", "工务段", "--staff", "张三",
                  "--time", "20261210223000", cls.folder.name).stdout.split()
        cls.left, cls.right = out
        cls.messages = [json.loads(line) for line in run(
            TOOLS["kestova"], "analyse", "--json", "--limits", "0.1,0.2,0.3,0.4",
            cls.left, cls.right).stdout.splitlines()]

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def test_synth_names_files_as_the_acquisition_does(self):
        self.assertEqual(os.path.basename(self.left), "20261210223000_left.raw")
        self.assertEqual(os.path.basename(self.right), "20261210223000_right.raw")

    def test_json_lines_come_in_message_order_per_file(self):
        codes = [m.get("code", "file") for m in self.messages]
        one_file = [13, 12, 14, 15, 16, 17, 18, 19, "file"]
        self.assertEqual(codes, one_file + one_file)
        self.assertEqual(self.messages[8], {"file": self.left, "return": 0})

    def test_keys_are_exactly_the_documented_ones(self):
        info, profile = self.messages[0], self.messages[1]
        self.assertEqual(list(info), ["code", "lparam", "lineName", "department", "staffName",
                                      "startTime", "forward", "startPosition", "endPosition"])
        self.assertEqual((info["lineName"], info["department"], info["staffName"]),
                         ("京沪线", "工务段", "张三"))
        self.assertEqual(info["startPosition"], 1000.0)
        self.assertEqual(info["endPosition"], 1250.0)
        self.assertEqual(list(profile), ["code", "lparam", "count"])  # arrays only on request
        self.assertEqual(profile["count"], 12500)
        ratios = self.messages[6]
        self.assertEqual(list(ratios), ["code", "lparam", "count", "data", "axis"])
        self.assertEqual(ratios["axis"], [1.0, 2.0, 3.0, 4.0])
        sections = self.messages[7]
        self.assertEqual(sections["count"], len(sections["sections"]))
        first = sections["sections"][0]
        self.assertEqual(list(first), ["range", "side", "bands"])
        self.assertEqual(first["range"], "1+0-->1+100")
        self.assertEqual(list(first["bands"][0]), ["ratio", "peakToPeak", "position"])
        self.assertEqual(self.messages[10]["lparam"], 2)  # the right file's profile

    def test_arrays_carry_data_and_distances(self):
        lines = run(TOOLS["kestova"], "analyse", "--json", "--arrays", self.left).stdout
        profile = json.loads(lines.splitlines()[1])
        self.assertEqual(len(profile["data"]), profile["count"])
        self.assertEqual(profile["axis"][0], 1000.0)
        self.assertAlmostEqual(profile["axis"][1] - profile["axis"][0], 0.02, places=12)

    def test_summary_shows_the_file_and_its_sections(self):
        text = run(TOOLS["kestova"], "analyse", self.left).stdout
        self.assertIn("京沪线", text)
        self.assertIn("1+0-->1+100", text)
        self.assertIn("Exceed ratio", text)

    def test_exit_status_is_the_first_failure(self):
        missing = os.path.join(self.folder.name, "missing.raw")
        result = run(TOOLS["kestova"], "analyse", "--json", self.left, missing, check=False)
        self.assertEqual(result.returncode, 9)
        self.assertEqual(json.loads(result.stdout.splitlines()[-1]),
                         {"file": missing, "return": 9})
        bad_limit = run(TOOLS["kestova"], "analyse", "--limits", "2,0,0,0", self.left,
                        check=False)
        self.assertEqual(bad_limit.returncode, 14)

    def test_bad_usage_exits_2_with_a_message(self):
        for args in (["analyse"], ["analyse", "--limits", "0.1,0.1", self.left],
                     ["frobnicate", self.left], ["analyse", "--arrays", self.left], []):
            result = run(TOOLS["kestova"], *args, check=False)
            self.assertEqual(result.returncode, 2, args)
            self.assertIn("usage", result.stderr)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--kestova", required=True)
    parser.add_argument("--synth", required=True)
    options, rest = parser.parse_known_args()
    TOOLS.update(kestova=options.kestova, synth=options.synth)
    unittest.main(argv=[sys.argv[0]] + rest)
