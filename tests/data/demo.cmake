# Test programs of this area: korvesta_test(name sources...).
