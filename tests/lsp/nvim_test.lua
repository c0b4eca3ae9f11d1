-- Neovim as the editor of a train source, with scenario-compiler lsp as its
-- language server: it attaches, its finding shows and goes when mended, and
-- hover is answered. Run headless:
--   SCENARIO_COMPILER=... nvim --headless --clean -n -u NONE -c "luafile nvim_test.lua"
-- It quits with 0 when everything holds, 1 otherwise.

local function fail(message)
  io.stderr:write('nvim_test: ' .. message .. '\n')
  vim.cmd('cquit 1')
end

local function run()
  local program = os.getenv('SCENARIO_COMPILER')
  assert(program, 'SCENARIO_COMPILER names no program')
  local folder = vim.fn.tempname()
  vim.fn.mkdir(folder, 'p')
  vim.fn.system({ program, 'export', '--dir', folder, '--quiet' })
  assert(vim.v.shell_error == 0, 'export failed')

  -- A typo in a keyword, written to the file the editor opens.
  local file = folder .. '/Orvale_Varcona_593-.txt'
  local lines = vim.fn.readfile(file, 'b')
  local typo
  for index, line in ipairs(lines) do
    if line:find('^velocita,   31200') then
      lines[index] = line:gsub('velocita', 'velocta')
      typo = index - 1
    end
  end
  assert(typo, 'no speed point at 31200 m')
  vim.fn.writefile(lines, file, 'b')

  vim.cmd('edit ' .. vim.fn.fnameescape(file))
  local buffer = vim.api.nvim_get_current_buf()
  local client = vim.lsp.start_client({ name = 'scenario-compiler', cmd = { program, 'lsp' }, root_dir = folder })
  assert(client, 'the server did not start')
  assert(vim.lsp.buf_attach_client(buffer, client), 'the client did not attach')

  -- The finding is shown at the keyword.
  assert(vim.wait(10000, function() return #vim.diagnostic.get(buffer) > 0 end, 20),
    'no diagnostics were shown')
  local shown = vim.diagnostic.get(buffer)
  assert(#shown == 1, 'expected one finding, got ' .. #shown)
  local finding = shown[1]
  assert(finding.lnum == typo and finding.col == 0 and finding.end_col == 7,
    string.format('finding at %d:%d-%d, expected %d:0-7', finding.lnum, finding.col, finding.end_col, typo))
  assert(finding.severity == vim.diagnostic.severity.WARN, 'not a warning')
  assert(finding.message:find('did you mean "velocita"', 1, true), finding.message)

  -- Hover on a station's position: its kilometre and cell.
  local station_line
  for index, line in ipairs(vim.api.nvim_buf_get_lines(buffer, 0, -1, false)) do
    if line:find('^stazione,   121050') then station_line = index - 1 end
  end
  assert(station_line, 'no station at 121050 m')
  local answers = vim.lsp.buf_request_sync(buffer, 'textDocument/hover', {
    textDocument = { uri = vim.uri_from_bufnr(buffer) },
    position = { line = station_line, character = 14 },
  }, 10000)
  assert(answers and answers[client] and answers[client].result, 'hover was not answered')
  local hover = answers[client].result.contents.value
  assert(hover:find('km 121+050, cell 2421', 1, true), 'hover: ' .. hover)

  -- Mended in the buffer, the finding goes.
  local mended = vim.api.nvim_buf_get_lines(buffer, typo, typo + 1, false)[1]:gsub('velocta', 'velocita')
  vim.api.nvim_buf_set_lines(buffer, typo, typo + 1, false, { mended })
  assert(vim.wait(10000, function() return #vim.diagnostic.get(buffer) == 0 end, 20),
    'the finding stayed after the fix')

  vim.lsp.stop_client(client)
  vim.wait(5000, function() return vim.lsp.get_client_by_id(client) == nil end, 20)
  vim.fn.delete(folder, 'rf')
end

local ok, problem = pcall(run)
if not ok then fail(tostring(problem)) end
vim.cmd('qall!')
