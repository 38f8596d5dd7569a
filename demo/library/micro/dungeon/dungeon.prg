DUNGEON CRAWL demo program
